#pragma once
// The communication layer of the serial port component: line settings, queue sizes, time-outs,
// send and read operations, line events, the worker threads and the receive dispatcher, modem lines.
//
// Threads. Every property and operation is called on the thread that owns the component (the
// user-interface thread); all event handlers run there too. While the port is open two worker
// threads run (TCommThread waits for line events, TMsgThread forwards them; see CommEventChannel),
// plus a modem-line watch where the driver supports it. They never touch the handle beyond waiting:
// when the device fails, the failure is handed to the owner thread, which stops the threads and then
// closes the handle (OnClose, notification 1, OnDeviceLost). Where no QCoreApplication exists the
// dispatcher and its handlers run on the message thread, a failure is acted on at the owner's next
// call (e.g. GetActive), and Close waits for a dispatch in progress to end before it closes the
// handle: such a handler must not wait for the owner thread, and must not destroy the component.
#include "CommEventChannel.h"
#include "SerialDevice.h"
#include "TEventList.h"
#include "TnrBaseIO.h"

#include <QByteArray>
#include <QPointer>
#include <QSet>
#include <memory>

class QSocketNotifier;
class TCommThread;
class TMsgThread;

class TnrCustomComm : public TnrBaseIO {
    Q_OBJECT
public:
    using TOnListEvent =
        std::function<void(TnrCustomComm* com, int eventNo, char* buffer, int received, bool& flHandled)>;
    using TOnReceived = std::function<void(TnrCustomComm* com, const char* buffer, quint32 received)>;
    using TOnSent = std::function<void(TnrCustomComm* com)>;
    using TOnTraceEvent = std::function<void(QObject* com, TTraceStates event)>;
    using TOnCommErrorEvent = std::function<void(TnrCustomComm* com, quint32 commCode, quint32 sysError,
                                                 TComStateFlags state, bool& flFlashBuffers)>;
    // A text for the user: the device went away, or another program shares the line.
    using TOnPortNotice = std::function<void(TnrCustomComm* com, const QString& text)>;

    explicit TnrCustomComm(QObject* parent = nullptr);
    ~TnrCustomComm() override;

    // ---- line settings (getters report what the driver holds while open) ----
    quint32 BaudRate();
    void SetBaudRate(quint32 value);
    TParity Parity();
    void SetParity(TParity value);
    TStopBits StopBits();
    void SetStopBits(TStopBits value);
    quint8 ByteSize();
    void SetByteSize(quint8 value);
    TStreamProtocol StreamProtocol();
    void SetStreamProtocol(TStreamProtocol value);
    virtual char GetEventChar();
    virtual void SetEventChar(char value);
    const TDCB& Dcb() const { return FConfig.dcb; }

    // Linux sizes the tty queues itself (n_tty keeps 4096 bytes); requested sizes are kept and
    // reported, and the input size sizes the read buffer.
    quint16 BufferInSize();
    void SetBufferInSize(quint16 value);
    quint16 BufferOutSize();
    void SetBufferOutSize(quint16 value);
    quint32 TimeoutRead();
    void SetTimeoutRead(quint32 msPerByte);
    quint32 TimeoutWrite();
    void SetTimeoutWrite(quint32 msPerByte);
    void SetTimeOuts(const TCommTimeouts& timeouts);
    TCommTimeouts GetTimeouts();
    TCommProp GetCommProp();

    // The line events wanted. On Linux tsRxFlag fires when a block taken from the input queue (by
    // the dispatcher or a read) holds EventChar, tsBreak and tsErr when the driver's break and error
    // counters move (UARTs and USB adapters keep them, pseudo-terminals do not), and the modem-line
    // events come from sampling the lines (see PosixLineWatcher).
    TTraceStates TraceStates() const { return FTraceStates; }
    void SetTraceStates(TTraceStates states);
    bool EventListOnLine() const { return FEventListOnLine; }
    void SetEventListOnLine(bool value) { FEventListOnLine = value; }
    TEventList& GetEventList() { return FEventList; }
    TModemSignals ModemSignals() { return GetStateModemSignals(); }

    QObject* MonitorCTS() const { return FMonitorCTS; }
    void SetMonitorCTS(QObject* control) { FMonitorCTS = control; }
    QObject* MonitorDSR() const { return FMonitorDSR; }
    void SetMonitorDSR(QObject* control) { FMonitorDSR = control; }
    QObject* MonitorRLSD() const { return FMonitorRLSD; }
    void SetMonitorRLSD(QObject* control) { FMonitorRLSD = control; }
    QObject* MonitorRing() const { return FMonitorRing; }
    void SetMonitorRing(QObject* control) { FMonitorRing = control; }

    // The folder of the lock files that serial programs on Linux share (see UucpLock): by default
    // /var/lock or /run/lock; empty makes and honours none. Applies from the next open.
    QString LockFolder() const { return FLockFolder; }
    void SetLockFolder(const QString& folder) { FLockFolder = folder; }

    // ---- field adapters (owner thread) ----
    // Low latency (on unless switched off): at each open the driver is asked to hand received bytes
    // on at once; USB adapters otherwise hold them until their latency timer runs out. A driver
    // without the mode is left as it is. What the driver had is restored at close.
    bool LowLatency() const { return FLowLatency; }
    void SetLowLatency(bool on) { FLowLatency = on; }
    // RS-485 direction control for adapters that do not switch their transmitter themselves, from the
    // next open: the driver's RS-485 mode (RTS on while sending, off after) where it has one, else
    // RTS raised before each write and dropped once the bytes have left (tcdrain). A port with
    // neither (a pseudo-terminal) does not open. The driver's RS-485 settings are restored at close.
    bool Rs485() const { return FRs485; }
    void SetRs485(bool on) { FRs485 = on; }
    enum class TDirectionControl { None, Driver, Rts };
    // What switches the transmitter while the port is open.
    TDirectionControl DirectionControl() const { return FDirection; }

    // ---- open, close, I/O ----
    void Open() override;
    void Close() override;
    void ForceHalt(bool graceful);
    // Writes leave in call order: SendChar and SendString first write out what SendData still holds
    // (within the write time-out), then their own bytes.
    void SendChar(char c) override;
    void SendString(const QByteArray& s) override;
    // Asynchronous: the bytes are copied, written as far as the output queue takes them, and the rest
    // follows as room appears; the caller's buffer is free on return. ClearDeviceOutput and
    // ClearDeviceBuffers drop what is still held.
    void SendData(const char* bytes, quint32 length) override;
    bool Read(char* buffer, quint32 count);
    bool ReadAll(char* buffer);
    QByteArray ReadString();
    quint32 GetReadyForRead();
    quint32 GetNotYetSend();
    void ClearDeviceInput() override;
    void ClearDeviceOutput() override;
    void ClearDeviceBuffers() override;
    void FlushOutputBuffer();
    TModemSignals GetStateModemSignals();
    void DCBUpdate();
    void DCBApply();
    virtual QString GetPortName();
    quint32 GetTotalSent() const { return FTotalSent; }
    // Counts every byte taken from the input queue (by the dispatcher or the read operations).
    quint32 GetTotalReceived() const { return FTotalReceived; }
    virtual void DoCommError(quint32 commCode, quint32 sysError, TComStateFlags state);
    QString LastOpenError() const { return FLastOpenError; }

    // ---- modem lines and auxiliary services ----
    void SetStateDTR(bool on);
    void SetStateRTS(bool on);
    void SetStateX(bool xon);
    void SetStateBreak(bool on);
    // Both keep the user interface alive while they wait (1 ms steps, pending events processed).
    bool WaitForBytes(quint32 count, quint32 timeoutMs);
    bool WaitForSignal(TModemSignal signal, quint32 timeoutMs);
    // Written at once, ahead of what SendData still holds; Linux has no transmit-ahead queue, so it
    // follows the bytes already in the driver's output queue.
    void SendAheadChar(char c);

    // ---- worker threads and event delivery ----
    void StartThreads();
    void StopThreads();
    // Runs the modem-line watch while the event mask wants a modem-line event, and only then.
    void UpdateModemWatch();
    // The receive dispatcher for one event mask; owner thread (message thread without an application).
    void WinProc(quint32 mask);
    void DoTraceStates(QObject* sender, TTraceStates states);
    // Sets the control's boolean "Checked" property if it has one.
    static void DoCheckMonitor(QObject* control, bool value);
    bool CommThreadRunning() const;
    bool MsgThreadRunning() const;
    bool ModemWatchRunning() const;
    // How often the comm thread has woken for a line event since the port opened.
    quint64 CommThreadWakeups() const;

    // ---- platform seam: replace the device layer (only while closed) ----
    void SetSerialDevice(std::unique_ptr<SerialDevice> device);
    SerialDevice* Device() const { return FPort.get(); }

    // ---- events ----
    TOnListEvent OnListEvent;
    TOnReceived OnAfterReceive;
    TOnSent OnAfterSend;
    TOnTraceEvent OnTraceState;
    TOnCommErrorEvent OnCommError;
    // Once, after the port has been closed because its device went away (adapter pulled,
    // pseudo-terminal closed): GetActive() is already false. Owner's thread.
    TOnPortNotice OnDeviceLost;
    // After an open: another program has the device open although it took no lock, so both read
    // the line (said once per program and device); or the serial layer's warnings (see
    // TnrCustomSerialComm::SetLatencyBudget).
    TOnPortNotice OnWarning;
    // After each open: what the component set up on the line for the user to know (the RS-485
    // direction control in effect).
    TOnPortNotice OnNote;

protected:
    virtual void InitAfterOpen();
    // Opens the device node; on failure remembers the text for the open error and returns -1.
    int OpenDevicePath(const QString& path);
    int AdoptDeviceHandle(int fd);
    void SetOpenFailure(int error, const QString& path);
    void CheckDeferredClose() override;
    // Whether the port is open, after acting on a failure handed over by a worker thread.
    bool PortReady();
    void NoteDeviceError(int error);
    void SetupComm(quint16 inSize, quint16 outSize);
    // Waits for a message thread that closed the port from inside a handler (no application
    // object) to leave the dispatcher; destructors call it before they touch the handlers.
    void JoinRetiredThreads();

    TCommConfig FConfig;

private:
    // Sets the driver modes the field settings ask for; false (with the open failure's text) when
    // RS-485 direction control was asked for and the device offers no way to switch its transmitter.
    bool SetUpFieldLine();
    // Puts back the driver modes found at open.
    void RestoreFieldLine();
    void ReportFieldLine();
    // A write as the direction control needs it: with RTS control the transmitter is on only while
    // the bytes leave.
    int DeviceWrite(const char* bytes, quint32 count, quint32 timeoutMs, quint32& written);
    void OnOwnerWake();
    void HandleLineFailure();
    void ReportSharing();
    // Writes after whatever SendData still holds, so the bytes leave in call order.
    int WriteInOrder(const char* bytes, quint32 count);
    // A block taken from the input queue outside the dispatcher: queue an event-character event.
    void NoteTaken(const char* block, quint32 count);
    bool HoldsEventChar(const char* block, quint32 count) const;
    void NoteTransmitted();
    // Writes c (ahead: before what SendData holds) and counts it; false, with the error reported,
    // when the device refuses it.
    bool WriteOneChar(char c, bool ahead);
    void DropHeldOutput();
    // The dispatcher's read: every byte waiting, whatever the read buffer's size; whether the block
    // held the event character.
    bool TakeReceived();
    // Reads the line status into status and FComStat; false, with the device error noted, on failure.
    bool QueryLineStatus(SerialLineStatus& status);
    void WritePending();
    quint32 ReadTimeoutFor(quint32 count) const;
    quint32 WriteTimeoutFor(quint32 count) const;
    void DispatchReceived(QByteArray keep, quint32 count);

    std::unique_ptr<SerialDevice> FPort;
    TCommTimeouts FTimeouts;
    TComStat FComStat;
    TCommProp FCommProp;
    quint16 FBufferInSize = 4096;
    quint16 FBufferOutSize = 4096;
    QByteArray FReadBuffer;
    QByteArray FPendingOut;
    QSocketNotifier* FWriteNotifier = nullptr;
    QString FLastOpenError;
    QString FOpenFailureText;
    quint32 FTotalSent = 0;
    quint32 FTotalReceived = 0;
    TTraceStates FTraceStates;
    bool FEventListOnLine = false;
    TEventList FEventList;
    QPointer<QObject> FMonitorCTS;
    QPointer<QObject> FMonitorDSR;
    QPointer<QObject> FMonitorRLSD;
    QPointer<QObject> FMonitorRing;

    std::shared_ptr<CommEventChannel> FChannel;
    std::unique_ptr<TMsgThread> FMsgThread;
    std::unique_ptr<TCommThread> FCommThread;
    std::unique_ptr<TMsgThread> FRetiredMsgThread;
    QString FLockFolder;
    QSet<QString> FWarnedSharing;
    QSocketNotifier* FOwnerNotifier = nullptr;
    bool FHalting = false;
    bool FLowLatency = true;
    bool FRs485 = false;
    TDirectionControl FDirection = TDirectionControl::None;
    bool FLowLatencySet = false; // switched on by us at open, so switched off at close
    SerialRs485 FFoundRs485;
};
