#include "DeviceWatcher.h"
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
    EXPECT_EQ(sorted.at(1).Name, dev + QStringLiteral("/ttyUSB0"));
    EXPECT_EQ(sorted.at(1).Description, QStringLiteral("usb-FTDI_FT232R-if00-port0"));
    EXPECT_EQ(sorted.at(2).Number, 2004u);
    EXPECT_EQ(sorted.at(3).Name, dev + QStringLiteral("/ttyFOO2"));
    EXPECT_EQ(sorted.at(3).Number, PortNumbering::FirstUnlistedNumber);
}

TEST(DeviceWatcher, RecognisesSerialNodeNames) {
    for (const char* n : {"ttyUSB0", "ttyACM1", "ttyS3", "rfcomm0"})
        EXPECT_TRUE(DeviceWatcher::IsSerialNodeName(QString::fromLatin1(n))) << n;
    for (const char* n : {"tty1", "sda", "null", "pts"})
        EXPECT_FALSE(DeviceWatcher::IsSerialNodeName(QString::fromLatin1(n))) << n;
}

} // namespace
