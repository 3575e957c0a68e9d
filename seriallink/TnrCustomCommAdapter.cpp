// TnrCustomComm: the driver modes of field adapters (low latency, RS-485 direction control).
#include "TnrCustomComm.h"

#include "SystemError.h"

bool TnrCustomComm::SetUpFieldLine() {
    FDirection = TDirectionControl::None;
    FLowLatencySet = false;
    if (FRs485) {
        SerialRs485 found;
        int driverError = FPort->Rs485(found);
        if (driverError == 0)
            driverError = FPort->SetRs485({.Enabled = true, .RtsOnSend = true, .RtsAfterSend = false});
        if (driverError == 0) {
            FFoundRs485 = found;
            FDirection = TDirectionControl::Driver;
        } else if (const int rtsError = FPort->SetModemLine(SerialDevice::LineRTS, false); rtsError == 0) {
            // Opening raised RTS: the transmitter stays off until the first frame.
            FDirection = TDirectionControl::Rts;
        } else {
            FOpenFailureText = SystemError::Rs485RefusalText(GetPortName(), driverError, rtsError);
            return false;
        }
    }
    bool on = false;
    if (FLowLatency && FPort->LowLatency(on) == 0 && !on)
        FLowLatencySet = FPort->SetLowLatency(true) == 0;
    return true;
}

void TnrCustomComm::RestoreFieldLine() {
    // After the device went away these fail: there is nothing left to restore then.
    if (FDirection == TDirectionControl::Driver)
        FPort->SetRs485(FFoundRs485);
    if (FLowLatencySet)
        FPort->SetLowLatency(false);
    FDirection = TDirectionControl::None;
    FLowLatencySet = false;
}

void TnrCustomComm::ReportFieldLine() {
    QString text;
    switch (FDirection) {
    case TDirectionControl::None:
        return;
    case TDirectionControl::Driver:
        text = QStringLiteral("RS-485 direction control on %1: the driver's RS-485 mode switches the "
                              "transmitter (RTS on while sending).");
        break;
    case TDirectionControl::Rts:
        text = QStringLiteral("RS-485 direction control on %1: the driver has no RS-485 mode, so RTS is "
                              "raised for each frame and dropped once it has been sent.");
        break;
    }
    text = text.arg(GetPortName());
    Logging(dlSimple, text);
    if (OnNote)
        OnNote(this, text);
}

int TnrCustomComm::DeviceWrite(const char* bytes, quint32 count, quint32 timeoutMs, quint32& written) {
    if (FDirection != TDirectionControl::Rts)
        return FPort->Write(bytes, count, timeoutMs, written);
    // Half duplex: the transmitter is on only while the bytes leave, so the reply finds the bus free.
    written = 0;
    int err = FPort->SetModemLine(SerialDevice::LineRTS, true);
    if (err == 0) {
        err = FPort->Write(bytes, count, timeoutMs, written);
        const int drained = written > 0 ? FPort->Drain() : 0;
        if (err == 0)
            err = drained;
    }
    const int dropped = FPort->SetModemLine(SerialDevice::LineRTS, false);
    return err ? err : dropped;
}
