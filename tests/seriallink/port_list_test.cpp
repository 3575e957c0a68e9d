#include "DeviceWatcher.h"
#include "FakeSysfs.h"
#include "PortNumbering.h"
#include "SysfsPortList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QList<quint32> Numbers(const QList<PortEntry>& list) {
    QList<quint32> out;
    for (const PortEntry& e : list)
        out.append(e.Number);
    return out;
}

TEST(PortNumbering, ComNamesSortNumerically) {
    QList<PortEntry> list;
    for (const char* name : {"COM10", "COM2", "COM1"})
        PortNumbering::InsertSorted(list, *PortNumbering::ParseComName(QString::fromLatin1(name)));
    EXPECT_EQ(Numbers(list), (QList<quint32>{1, 2, 10}));
    EXPECT_EQ(list.at(2).Name, QStringLiteral("COM10"));
}

TEST(PortNumbering, ComNameRule) {
    const auto com4 = PortNumbering::ParseComName(QStringLiteral("com4"));
    ASSERT_TRUE(com4);
    EXPECT_EQ(com4->Name, QStringLiteral("COM4"));
    EXPECT_EQ(com4->Number, 4u);
    EXPECT_FALSE(PortNumbering::ParseComName(QStringLiteral("LPT1")));
    EXPECT_FALSE(PortNumbering::ParseComName(QStringLiteral("COMx")));
}

TEST(PortNumbering, DuplicateRule) {
    QList<PortEntry> list;
    auto add = [&](quint32 n, const char* name) {
        PortEntry e;
        e.Number = n;
        e.Name = QString::fromLatin1(name);
        PortNumbering::InsertSorted(list, e);
    };
    add(1, "a");
    add(5, "b");
    add(5, "dropped: equals the largest");
    add(1, "kept behind its equal");
    EXPECT_EQ(Numbers(list), (QList<quint32>{1, 1, 5}));
    EXPECT_EQ(list.at(1).Name, QStringLiteral("kept behind its equal"));
}

TEST(PortNumbering, LinuxNamesHaveStableNumbers) {
    struct Case {
        const char* tty;
        quint32 number;
    };
    const Case cases[] = {{"ttyS0", 1},       {"ttyS7", 8},      {"ttyUSB0", 1001},
                          {"ttyUSB12", 1013}, {"ttyACM0", 2001}, {"ttyAMA1", 3002},
                          {"rfcomm0", 4001},  {"ttySAC2", 9003}, {"ttyXRUSB0", 12001}};
    for (const Case& c : cases) {
        EXPECT_EQ(PortNumbering::NumberForTty(QString::fromLatin1(c.tty)), c.number) << c.tty;
        EXPECT_EQ(PortNumbering::PathForNumber(c.number),
                  QStringLiteral("/dev/") + QString::fromLatin1(c.tty));
    }
    EXPECT_FALSE(PortNumbering::NumberForTty(QStringLiteral("tty1")));
    EXPECT_FALSE(PortNumbering::NumberForTty(QStringLiteral("ttyUSB")));
    EXPECT_TRUE(PortNumbering::PathForNumber(PortNumbering::FirstExtraNumber).isEmpty());
}

// A fake /sys/class/tty and /dev: ports with a driver and a node are listed, phantom UARTs are not.
TEST(SysfsPortList, ListsRealPortsOnly) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString sys = root.filePath(QStringLiteral("sys"));
    const QString dev = root.filePath(QStringLiteral("dev"));
    QDir().mkpath(dev + QStringLiteral("/serial/by-id"));
    auto makeTty = [&](const QString& name, bool driver, const char* type) {
        QDir().mkpath(sys + QLatin1Char('/') + name + QStringLiteral("/device"));
        if (driver)
            QDir().mkpath(sys + QLatin1Char('/') + name + QStringLiteral("/device/driver"));
        if (type) {
            QFile f(sys + QLatin1Char('/') + name + QStringLiteral("/type"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(type);
        }
        QFile node(dev + QLatin1Char('/') + name);
        ASSERT_TRUE(node.open(QIODevice::WriteOnly));
    };
    makeTty(QStringLiteral("ttyS0"), true, "4\n");
    makeTty(QStringLiteral("ttyS1"), true, "0\n"); // PORT_UNKNOWN
    makeTty(QStringLiteral("ttyUSB0"), true, nullptr);
    makeTty(QStringLiteral("ttyACM3"), true, nullptr);
    makeTty(QStringLiteral("tty1"), false, nullptr); // a console: no driver link
    makeTty(QStringLiteral("ttyFOO2"), true, nullptr);
    QDir().mkpath(sys + QStringLiteral("/ttyUSB9/device/driver")); // no node in /dev
    QFile::link(dev + QStringLiteral("/ttyUSB0"),
                dev + QStringLiteral("/serial/by-id/usb-FTDI_FT232R-if00-port0"));

    SysfsPortList list(sys, dev);
    QList<PortEntry> sorted;
    for (const PortEntry& e : list.Enumerate())
        PortNumbering::InsertSorted(sorted, e);
    ASSERT_EQ(sorted.size(), 4);
    EXPECT_EQ(sorted.at(0).Name, dev + QStringLiteral("/ttyS0"));
    EXPECT_EQ(sorted.at(0).Number, 1u);
    EXPECT_EQ(sorted.at(1).Name, dev + QStringLiteral("/ttyUSB0 (FTDI FT232R)")); // named by its by-id link
    EXPECT_EQ(sorted.at(1).DevicePath, dev + QStringLiteral("/ttyUSB0"));
    EXPECT_EQ(sorted.at(1).Description, QStringLiteral("usb-FTDI_FT232R-if00-port0"));
    EXPECT_EQ(sorted.at(2).Number, 2004u);
    EXPECT_EQ(sorted.at(3).Name, dev + QStringLiteral("/ttyFOO2"));
    EXPECT_EQ(sorted.at(3).Number, PortNumbering::FirstUnlistedNumber);
}

QList<PortEntry> SortedPorts(SysfsPortList& list) {
    QList<PortEntry> sorted;
    for (const PortEntry& e : list.Enumerate())
        PortNumbering::InsertSorted(sorted, e);
    return sorted;
}

// Adapters are named by the USB device above the tty, else by their /dev/serial/by-id identity.
TEST(SysfsPortList, NamesUsbAdaptersByProductAndSerial) {
    FakeSysfs fake;
    fake.AddTty(QStringLiteral("ttyS0"));
    fake.AddUsbDevice(QStringLiteral("1-1"), "FT232R USB UART", "A50285BI");
    fake.AddTty(QStringLiteral("ttyUSB0"), QStringLiteral("1-1"));
    fake.AddById(QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"), QStringLiteral("ttyUSB0"));
    fake.AddUsbDevice(QStringLiteral("1-2"), "Arduino Uno", nullptr);
    fake.AddTty(QStringLiteral("ttyACM0"), QStringLiteral("1-2"));
    fake.AddUsbDevice(QStringLiteral("1-3"), nullptr, nullptr); // sysfs tells nothing: by-id does
    fake.AddTty(QStringLiteral("ttyUSB1"), QStringLiteral("1-3"));
    fake.AddById(QStringLiteral("usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"),
                 QStringLiteral("ttyUSB1"));
    fake.AddTty(QStringLiteral("ttyUSB2"), QStringLiteral("1-4")); // no USB device files at all

    SysfsPortList list(fake.ClassTty(), fake.DevDir());
    const QString dev = fake.DevDir();
    const QStringList expected = {
        dev + QStringLiteral("/ttyS0"),
        dev + QStringLiteral("/ttyUSB0 (FT232R USB UART, A50285BI)"),
        dev + QStringLiteral("/ttyUSB1 (Prolific Technology Inc. USB-Serial Controller)"),
        dev + QStringLiteral("/ttyUSB2"),
        dev + QStringLiteral("/ttyACM0 (Arduino Uno)"),
    };
    QStringList names;
    QStringList paths;
    for (const PortEntry& e : SortedPorts(list)) {
        names << e.Name;
        paths << e.DevicePath;
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(paths.at(1), dev + QStringLiteral("/ttyUSB0")); // the name is for people, the path opens
}

TEST(SysfsPortList, ByIdIdentity) {
    struct Case {
        const char* link;
        const char* identity;
    };
    const Case cases[] = {
        {"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "FTDI FT232R USB UART A50285BI"},
        {"usb-1a86_USB_Serial-if00-port0", "1a86 USB Serial"},
        {"usb-Arduino_LLC_Arduino_Leonardo-if00", "Arduino LLC Arduino Leonardo"},
        {"usb-Silicon_Labs_CP2102_0001-if01-port3", "Silicon Labs CP2102 0001"},
        {"pci-0000:00:16.3", ""},
        {"usb-NoInterfaceNumber", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SysfsPortList::ByIdIdentity(QString::fromLatin1(c.link)), QString::fromLatin1(c.identity))
            << c.link;
}

// Families without a stable number keep the number they got first while the list lives.
TEST(SysfsPortList, UnlistedFamiliesKeepTheirNumbers) {
    FakeSysfs fake;
    fake.AddTty(QStringLiteral("ttyFOO1"));
    fake.AddTty(QStringLiteral("ttyFOO2"));
    SysfsPortList list(fake.ClassTty(), fake.DevDir());
    const quint32 first = PortNumbering::FirstUnlistedNumber;
    EXPECT_EQ(Numbers(SortedPorts(list)), (QList<quint32>{first, first + 1}));
    fake.Pull(QStringLiteral("ttyFOO1"));
    EXPECT_EQ(Numbers(SortedPorts(list)), (QList<quint32>{first + 1}));
    fake.AddTty(QStringLiteral("ttyFOO3"));
    fake.AddTty(QStringLiteral("ttyFOO1"));
    const QList<PortEntry> back = SortedPorts(list);
    EXPECT_EQ(Numbers(back), (QList<quint32>{first, first + 1, first + 2}));
    EXPECT_EQ(back.at(0).DevicePath, fake.DevDir() + QStringLiteral("/ttyFOO1"));
}

TEST(DeviceWatcher, RecognisesSerialNodeNames) {
    for (const char* n : {"ttyUSB0", "ttyACM1", "ttyS3", "rfcomm0"})
        EXPECT_TRUE(DeviceWatcher::IsSerialNodeName(QString::fromLatin1(n))) << n;
    for (const char* n : {"tty1", "sda", "null", "pts"})
        EXPECT_FALSE(DeviceWatcher::IsSerialNodeName(QString::fromLatin1(n))) << n;
}

} // namespace
