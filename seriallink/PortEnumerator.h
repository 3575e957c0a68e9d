#pragma once
// Where the port list comes from. SysfsPortList reads the machine's; tests feed their own.
#include <QList>
#include <QString>
#include <functional>

struct PortEntry {
    QString Name;        // shown in the chooser
    quint32 Number = 0;  // the port number (ComPortNo)
    QString DevicePath;  // the node to open; empty when PathProvider gives it
    QString Description; // e.g. the /dev/serial/by-id name
    std::function<QString()> PathProvider;
};

class PortEnumerator {
public:
    virtual ~PortEnumerator() = default;
    // The ports present, each with its number; order does not matter.
    virtual QList<PortEntry> Enumerate() = 0;
};
