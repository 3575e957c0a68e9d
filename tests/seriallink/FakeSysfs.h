#pragma once
// A scratch /sys/class/tty, /sys/devices and /dev for the port list: ttys with a driver and a node,
// USB devices above them with product and serial files, /dev/serial/by-id links, and adapters
// that are pulled out and plugged in again.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class FakeSysfs {
public:
    FakeSysfs() { QDir().mkpath(DevDir() + QStringLiteral("/serial/by-id")); }

    QString ClassTty() const { return FRoot.filePath(QStringLiteral("sys/class/tty")); }
    QString DevDir() const { return FRoot.filePath(QStringLiteral("dev")); }

    // A USB device (a folder with idVendor) whose product and serial files hold the given texts;
    // nullptr leaves a file out.
    void AddUsbDevice(const QString& usbDevice, const char* product, const char* serial) {
        const QString dir = UsbDir(usbDevice);
        QDir().mkpath(dir);
        Write(dir + QStringLiteral("/idVendor"), "0403\n");
        if (product)
            Write(dir + QStringLiteral("/product"), QByteArray(product) + '\n');
        if (serial)
            Write(dir + QStringLiteral("/serial"), QByteArray(serial) + '\n');
    }

    // A tty with a driver and a node in /dev; with usbDevice it sits on that device's interface 0,
    // as ttyUSB and ttyACM ports do, and its driver is ftdi_sio.
    void AddTty(const QString& name, const QString& usbDevice = {}) {
        const QString device = usbDevice.isEmpty()
                                   ? FRoot.filePath(QStringLiteral("sys/devices/platform/serial8250/") + name)
                                   : UsbDir(usbDevice) + u'/' + usbDevice + QStringLiteral(":1.0/") + name;
        const QString driver =
            FRoot.filePath(QStringLiteral("sys/bus/drivers/") +
                           (usbDevice.isEmpty() ? QStringLiteral("serial8250") : QStringLiteral("ftdi_sio")));
        QDir().mkpath(device);
        QDir().mkpath(driver);
        QFile::link(driver, device + QStringLiteral("/driver"));
        QDir().mkpath(ClassTty() + u'/' + name);
        QFile::link(device, ClassTty() + u'/' + name + QStringLiteral("/device"));
        Write(DevDir() + u'/' + name, "");
    }

    // The adapter's latency timer, as USB serial drivers publish it.
    void SetLatencyTimer(const QString& tty, int milliseconds) {
        Write(ClassTty() + u'/' + tty + QStringLiteral("/device/latency_timer"),
              QByteArray::number(milliseconds) + '\n');
    }

    void AddById(const QString& linkName, const QString& tty) {
        QFile::link(DevDir() + u'/' + tty, DevDir() + QStringLiteral("/serial/by-id/") + linkName);
    }

    // The adapter is pulled out: its class entry and its node go (its by-id link dangles).
    void Pull(const QString& tty) {
        QDir(ClassTty() + u'/' + tty).removeRecursively();
        QFile::remove(DevDir() + u'/' + tty);
    }

private:
    QString UsbDir(const QString& usbDevice) const {
        return FRoot.filePath(QStringLiteral("sys/devices/pci0000:00/usb1/") + usbDevice);
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QTemporaryDir FRoot;
};
