#pragma once
// Helpers shared by the serial tests: a fed port list, a device layer that counts reads and can
// report line errors, and a listener that records notification codes.
#include "PortEnumerator.h"
#include "PortNumbering.h"
#include "PosixSerialPort.h"
#include "TnrBaseIO.h"

#include <QStringList>
#include <atomic>

class FedPortList : public PortEnumerator {
public:
    explicit FedPortList(QList<PortEntry> entries) : FEntries(std::move(entries)) {}
    // Windows-style names, taken by the COMn rule; names it rejects are skipped.
    static std::shared_ptr<FedPortList> FromComNames(const QStringList& names) {
        QList<PortEntry> entries;
        for (const QString& n : names)
            if (auto e = PortNumbering::ParseComName(n))
                entries.append(*e);
        return std::make_shared<FedPortList>(entries);
    }
    QList<PortEntry> Enumerate() override { return FEntries; }

private:
    QList<PortEntry> FEntries;
};

// The real POSIX port with a counter of reads and injectable line errors (owner thread only).
class CountingPort : public PosixSerialPort {
public:
    int Read(char* buffer, quint32 count, quint32 timeoutMs, quint32& got) override {
        ++Reads;
        return PosixSerialPort::Read(buffer, count, timeoutMs, got);
    }
    int Status(SerialLineStatus& status) override {
        const int err = PosixSerialPort::Status(status);
        status.Errors |= InjectErrors;
        if (!KeepErrors)
            InjectErrors = 0;
        return err;
    }
    int Reads = 0;
    quint32 InjectErrors = 0;
    // Report the errors at every look, like a line at the wrong rate, not just once.
    bool KeepErrors = false;
};

// Appends every notification code the component sends to *codes.
struct CodeListener {
    QList<int>* codes;
    void H(TnrBaseIO*, int c) { codes->append(c); }
};
