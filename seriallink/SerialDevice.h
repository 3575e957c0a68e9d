#pragma once
// The platform layer behind the serial port component: one open port of the machine. The component
// calls it on its owner's thread; only the LineEventSource it creates is used by the worker threads.
// Every call returns 0 or the errno of the failure (SystemError maps it).
#include "NrTypes.h"

#include <QString>
#include <functional>
#include <memory>

// The driver's RS-485 mode as far as we set it: the driver itself switches the transmitter with RTS
// around each frame. Whatever else the driver keeps with it (delays, bus termination) is left alone.
struct SerialRs485 {
    bool Enabled = false;
    bool RtsOnSend = false;    // RTS level while a frame goes out
    bool RtsAfterSend = false; // RTS level once it has gone
    bool operator==(const SerialRs485&) const = default;
};

// Bytes waiting, bytes queued for output, line errors since the last call, and the line-state flags.
struct SerialLineStatus {
    quint32 Errors = 0;
    TComStateFlags Flags;
    quint32 InQueue = 0;
    quint32 OutQueue = 0;
};

// What a worker thread waits on. Wait() blocks the comm thread until a line event or Wake();
// Wake(), NoteTransmit() and the modem watch calls may come from any thread.
class LineEventSource {
public:
    struct Result {
        quint32 Mask = 0; // line event bits
        int Error = 0;    // the device failed (hang-up, gone): the port must close
        bool Woken = false;
    };
    virtual ~LineEventSource() = default;
    virtual Result Wait() = 0;
    virtual void Wake() = 0;
    // Asks for an output-empty event once the bytes just written have left the output queue.
    virtual void NoteTransmit() = 0;
    // Watches the modem input lines on a thread of its own and reports changed lines as event bits.
    // Returns false when the device cannot report modem-line changes.
    virtual bool StartModemWatch(std::function<void(quint32 mask)> sink) = 0;
    virtual void StopModemWatch() = 0;
    virtual bool ModemWatchRunning() const = 0;
};

class SerialDevice {
public:
    enum ModemLine { LineDTR, LineRTS };

    virtual ~SerialDevice() = default;
    // Opens with exclusive access and remembers the settings found, which Close restores.
    virtual int Open(const QString& path) = 0;
    // Takes over a descriptor opened elsewhere (it is closed by Close).
    virtual int Adopt(int fd) = 0;
    virtual void Close() = 0;
    virtual int Handle() const = 0;
    virtual int ApplySettings(const TDCB& dcb) = 0;
    // Refreshes the fields the platform holds; the others keep the record's values.
    virtual int ReadSettings(TDCB& dcb) = 0;
    virtual int Status(SerialLineStatus& status) = 0;
    // Reads exactly count bytes, waiting at most timeoutMs (0: no limit); got says how many came.
    virtual int Read(char* buffer, quint32 count, quint32 timeoutMs, quint32& got) = 0;
    // Reads up to max bytes that are waiting now, without waiting for more.
    virtual int ReadAvailable(char* buffer, quint32 max, quint32& got) = 0;
    // Writes all bytes, waiting at most timeoutMs (0: no limit) for room in the output queue.
    virtual int Write(const char* bytes, quint32 count, quint32 timeoutMs, quint32& written) = 0;
    virtual int Purge(bool input, bool output) = 0;
    virtual int Drain() = 0;
    virtual int ModemSignals(TModemSignals& present) = 0;
    virtual int SetModemLine(ModemLine line, bool on) = 0;
    virtual int SetBreak(bool on) = 0;
    // Resumes (true) or suspends (false) output as if XON / XOFF had been received.
    virtual int SetFlowState(bool xon) = 0;
    virtual std::unique_ptr<LineEventSource> CreateEventSource() = 0;

    // Field adapters. Drivers without the mode (pseudo-terminals, most on-board UARTs for RS-485)
    // answer ENOTTY or EINVAL. The component restores at close what it found at open.
    // Low latency: received bytes are handed on at once instead of when the adapter's timer runs out.
    virtual int LowLatency(bool& on) = 0;
    virtual int SetLowLatency(bool on) = 0;
    virtual int Rs485(SerialRs485& mode) = 0;
    virtual int SetRs485(const SerialRs485& mode) = 0;

    // Port ownership as serial programs on Linux share it. The lock folder (empty: no lock files
    // are made or honoured) applies from the next Open.
    virtual void SetLockFolder(const QString& folder) { Q_UNUSED(folder) }
    // After a refused Open: who holds the port, as a sentence for the user; empty when unknown.
    virtual QString OpenRefusal() const { return {}; }
    // After an Open: the other programs that have the device open although it was not locked,
    // e.g. "cat (PID 4711)"; empty when none is seen.
    virtual QString SharedWith() const { return {}; }
};

// The platform's implementation for this machine.
std::unique_ptr<SerialDevice> CreatePlatformSerialDevice();
