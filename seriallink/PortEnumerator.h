#pragma once
// Where the port list comes from. SysfsPortList reads the machine's; tests feed their own.
#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct PortEntry {
    QString Name;        // shown in the chooser
    quint32 Number = 0;  // the port number (ComPortNo)
    QString DevicePath;  // the node to open; empty when PathProvider gives it
    QString Description; // e.g. the /dev/serial/by-id name
    std::function<QString()> PathProvider;
};

// A USB adapter's latency timer: how long its chip holds received bytes before it sends them on.
struct AdapterLatency {
    QString TtyName; // "ttyUSB0"
    QString Driver;  // "ftdi_sio"; empty when unknown
    int TimerMs = 0;
};

class PortEnumerator {
public:
    virtual ~PortEnumerator() = default;
    // The ports present, each with its number; order does not matter.
    virtual QList<PortEntry> Enumerate() = 0;
    // The latency timer of the adapter behind a device node; nothing for a device without one.
    virtual std::optional<AdapterLatency> LatencyOf(const QString& devicePath) {
        Q_UNUSED(devicePath)
        return std::nullopt;
    }
};
