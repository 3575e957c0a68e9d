#pragma once
// The machine's serial ports from sysfs: every /sys/class/tty entry backed by a device with a
// driver whose node exists in /dev — on-board UARTs (ttyS*, without the phantom ones the 8250
// driver registers for absent hardware), USB adapters (ttyUSB*, ttyACM*), ttyAMA*, rfcomm* and
// the like. Virtual consoles and pseudo-terminals have no driver there and are not listed.
#include "PortEnumerator.h"

class SysfsPortList : public PortEnumerator {
public:
    explicit SysfsPortList(QString sysClassTty = QStringLiteral("/sys/class/tty"),
                           QString devDir = QStringLiteral("/dev"));
    QList<PortEntry> Enumerate() override;

private:
    bool IsPhantomUart(const QString& name) const;

    QString FSysClassTty;
    QString FDevDir;
};
