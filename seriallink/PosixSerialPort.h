#pragma once
// A serial port through termios and ioctl. Owner's thread only (see SerialDevice).
//
// Opening honours what other serial programs do: the UUCP lock file (UucpLock) first, then an
// exclusive flock on the descriptor, then TIOCEXCL against programs that do not lock. A refusal
// names the program that holds the port where the lock or /proc says; a program that has the device
// open without any lock is not a reason to refuse (a pseudo-terminal is held by its other end),
// but is reported through SharedWith().
#include "SerialDevice.h"
#include "UucpLock.h"

#include <linux/serial.h>
#include <termios.h>

class PosixSerialPort : public SerialDevice {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;

    int Open(const QString& path) override;
    int Adopt(int fd) override;
    void Close() override;
    int Handle() const override { return FFd; }
    int ApplySettings(const TDCB& dcb) override;
    int ReadSettings(TDCB& dcb) override;
    int Status(SerialLineStatus& status) override;
    int Read(char* buffer, quint32 count, quint32 timeoutMs, quint32& got) override;
    int ReadAvailable(char* buffer, quint32 max, quint32& got) override;
    int Write(const char* bytes, quint32 count, quint32 timeoutMs, quint32& written) override;
    int Purge(bool input, bool output) override;
    int Drain() override;
    int ModemSignals(TModemSignals& present) override;
    int SetModemLine(ModemLine line, bool on) override;
    int SetBreak(bool on) override;
    int SetFlowState(bool xon) override;
    std::unique_ptr<LineEventSource> CreateEventSource() override;
    int LowLatency(bool& on) override;
    int SetLowLatency(bool on) override;
    int Rs485(SerialRs485& mode) override;
    int SetRs485(const SerialRs485& mode) override;
    void SetLockFolder(const QString& folder) override { FLock.SetFolder(folder); }
    QString OpenRefusal() const override { return FRefusal; }
    QString SharedWith() const override { return FSharedWith; }

private:
    int TakeOver(int fd, bool lock);
    // Waits for the descriptor to become ready; 0, ETIMEDOUT or the failure.
    int WaitReady(short events, qint64 deadlineMs);

    int FFd = -1;
    UucpLock FLock;
    QString FRefusal;
    QString FSharedWith;
    bool FHaveSaved = false;
    termios FSaved{};
    // Line error counters as last seen; Linux counts errors only for real UARTs and USB adapters.
    bool FCountersKnown = false;
    serial_icounter_struct FCounters{};
};
