#pragma once
// The machine's serial ports from sysfs: every /sys/class/tty entry backed by a device with a
// driver whose node exists in /dev — on-board UARTs (ttyS*, without the phantom ones the 8250
// driver registers for absent hardware), USB adapters (ttyUSB*, ttyACM*), ttyAMA*, rfcomm* and
// the like. Virtual consoles and pseudo-terminals have no driver there and are not listed.
//
// A USB adapter is named as users know it: the device path with the product and serial number of
// the USB device above the tty ("/dev/ttyUSB0 (FT232R USB UART, A50285BI)"), or, where sysfs does
// not tell them, the identity udev put into the adapter's /dev/serial/by-id name.
//
// A port whose family has no stable number keeps the number it got first for as long as this list
// lives, so a port that vanishes and comes back returns to its place. Owner's thread only.
#include "PortEnumerator.h"

#include <QHash>

class SysfsPortList : public PortEnumerator {
public:
    explicit SysfsPortList(QString sysClassTty = QStringLiteral("/sys/class/tty"),
                           QString devDir = QStringLiteral("/dev"));
    QList<PortEntry> Enumerate() override;
    // The tty's device/latency_timer (ftdi_sio and kin; /sys/bus/usb-serial/devices/ttyUSBn shows the
    // same file) for a node in the device folder or a link to one.
    std::optional<AdapterLatency> LatencyOf(const QString& devicePath) override;

    // "path (identity)"; the path alone when the identity is empty.
    static QString DisplayName(const QString& path, const QString& identity);
    // The adapter's identity in a /dev/serial/by-id name ("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"
    // gives "FTDI FT232R USB UART A50285BI"); empty for names of another kind.
    static QString ByIdIdentity(const QString& byIdName);

private:
    bool IsPhantomUart(const QString& name) const;
    // "product, serial number" of the USB device the tty belongs to; empty when it is not on USB.
    QString UsbIdentity(const QString& name) const;
    quint32 UnlistedNumber(const QString& name);

    QString FSysClassTty;
    QString FDevDir;
    QHash<QString, quint32> FUnlistedNumbers;
};
