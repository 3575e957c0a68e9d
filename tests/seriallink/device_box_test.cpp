#include "FakeSysfs.h"
#include "PtyPair.h"
#include "SysfsPortList.h"
#include "TestPorts.h"
#include "TnrComm.h"
#include "TnrDeviceBox.h"

#include <QAbstractItemView>
#include <gtest/gtest.h>

namespace {

QStringList Items(const QComboBox& box) {
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

TEST(DeviceBox, ListsPortsInNumericOrder) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({"COM10", "COM2", "COM1", "com4"}));
    TnrDeviceBox box;
    box.SetComm(&comm);
    EXPECT_EQ(Items(box), (QStringList{"COM1", "COM2", "COM4", "COM10"}));
    EXPECT_EQ(box.currentIndex(), 0); // ComPortNo 1
}

TEST(DeviceBox, LinuxNamesInTheirOrderWithByIdToolTip) {
    PortEntry usb{QStringLiteral("/dev/ttyUSB0"), 1001, QStringLiteral("/dev/ttyUSB0"),
                  QStringLiteral("usb-FTDI_FT232R_A1-if00-port0"), nullptr};
    PortEntry acm{QStringLiteral("/dev/ttyACM0"), 2001, QStringLiteral("/dev/ttyACM0"), QString(), nullptr};
    PortEntry s0{QStringLiteral("/dev/ttyS0"), 1, QStringLiteral("/dev/ttyS0"), QString(), nullptr};
    TnrComm comm;
    comm.SetPortEnumerator(std::make_shared<FedPortList>(QList<PortEntry>{acm, usb, s0}));
    comm.AddExtraPort(QStringLiteral("TKM-9214 simulator"), [] { return QString(); });
    TnrDeviceBox box;
    box.SetComm(&comm);
    EXPECT_EQ(Items(box), (QStringList{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM0", "TKM-9214 simulator"}));
    EXPECT_EQ(box.itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("usb-FTDI_FT232R_A1-if00-port0"));
}

TEST(DeviceBox, MissingPortSelectsNothingAndPickingMovesThePort) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({"COM1", "COM2", "COM3"}));
    comm.SetComPortNo(7);
    TnrDeviceBox box;
    box.SetComm(&comm);
    EXPECT_EQ(box.currentIndex(), -1);
    int changes = 0;
    box.OnChange = [&](TnrDeviceBox* sender) {
        EXPECT_EQ(sender, &box);
        EXPECT_EQ(comm.ComPortNo(), 2); // the port has moved before OnChange runs
        ++changes;
    };
    box.Change(1);
    EXPECT_EQ(comm.ComPortNo(), 2);
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_EQ(changes, 1);
}

TEST(DeviceBox, PickingWhileOpenKeepsThePortOpenOnTheNewDevice) {
    PtyPair a;
    PtyPair b;
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    const quint16 na = comm.AddExtraPort(QStringLiteral("a"), a.SlavePath());
    comm.AddExtraPort(QStringLiteral("b"), b.SlavePath());
    comm.SetComPortNo(na);
    TnrDeviceBox box;
    box.SetComm(&comm);
    comm.SetActive(true);
    bool openAtChange = false;
    box.OnChange = [&](TnrDeviceBox*) { openAtChange = comm.GetActive(); };
    box.Change(1);
    EXPECT_TRUE(openAtChange);
    EXPECT_EQ(box.currentText(), QStringLiteral("b"));
    comm.SendString("z");
    EXPECT_EQ(b.Read(1), QByteArray("z"));
}

TEST(DeviceBox, FailedReopenIsPresentedNotRaised) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({}));
    PtyPair a;
    comm.SetComPortNo(comm.AddExtraPort(QStringLiteral("a"), a.SlavePath()));
    comm.AddExtraPort(QStringLiteral("gone"), QStringLiteral("/dev/does-not-exist-9"));
    TnrDeviceBox box;
    box.SetComm(&comm);
    comm.SetActive(true);
    QStringList shown;
    TnrBaseIO::SetErrorPresenter([&](const QString&, const QString& text) { shown << text; });
    int changes = 0;
    box.OnChange = [&](TnrDeviceBox*) { ++changes; };
    EXPECT_NO_THROW(box.Change(1));
    TnrBaseIO::SetErrorPresenter(nullptr);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().startsWith(QStringLiteral("Device \"gone\" Open Error !!!")));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(comm.GetActive());
}

TEST(DeviceBox, UnlinkingEmptiesTheBoxAndWithdrawsTheListener) {
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({"COM1", "COM2"}));
    TnrDeviceBox box;
    box.SetComm(&comm);
    box.SetComm(nullptr);
    EXPECT_EQ(box.count(), 0);
    comm.Update(); // would reload a still-registered box
    EXPECT_EQ(box.count(), 0);
}

TEST(DeviceBox, ForgetsAPortComponentThatIsDestroyed) {
    TnrDeviceBox box;
    {
        TnrComm comm;
        comm.SetPortEnumerator(FedPortList::FromComNames({"COM1"}));
        box.SetComm(&comm);
        EXPECT_EQ(box.count(), 1);
    }
    EXPECT_EQ(box.nrComm(), nullptr);
    EXPECT_EQ(box.currentIndex(), -1);
    box.Reload();
    EXPECT_EQ(box.count(), 0);
}

TEST(DeviceBox, DeviceChangeNoticeReloads) {
    auto list = std::make_shared<FedPortList>(QList<PortEntry>{});
    TnrComm comm;
    comm.SetPortEnumerator(FedPortList::FromComNames({"COM1"}));
    TnrDeviceBox box;
    box.SetComm(&comm);
    comm.SetPortEnumerator(FedPortList::FromComNames({"COM1", "COM3"}));
    EXPECT_EQ(box.count(), 2);
    comm.SetPortEnumerator(FedPortList::FromComNames({"COM3"}));
    comm.WMDeviceChange({0x0219, TnrDeviceChange::DeviceRemoveComplete, 3});
    EXPECT_EQ(Items(box), QStringList{"COM3"});
    comm.WMDeviceChange({0x0219, 0x0007, 3}); // not an arrival or removal: nothing
}

// The closed box keeps its designed size; the open list shows the longest entry whole.
TEST(DeviceBox, OpenListIsAsWideAsItsLongestEntry) {
    const QString longest = QStringLiteral("/dev/ttyUSB0 (FT232R USB UART, A50285BI)");
    PortEntry usb{longest, 1001, QStringLiteral("/dev/ttyUSB0"), QString(), nullptr};
    PortEntry s0{QStringLiteral("/dev/ttyS0"), 1, QStringLiteral("/dev/ttyS0"), QString(), nullptr};
    TnrComm comm;
    comm.SetPortEnumerator(std::make_shared<FedPortList>(QList<PortEntry>{s0, usb}));
    QWidget window;
    auto* box = new TnrDeviceBox(&window);
    box->setGeometry(8, 8, 105, 21);
    box->SetComm(&comm);
    window.show();
    box->showPopup();
    const QWidget* popup = box->view()->window();
    ASSERT_NE(popup, &window);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_GE(box->view()->viewport()->width(), box->view()->fontMetrics().horizontalAdvance(longest));
    box->hidePopup();
    EXPECT_EQ(box->size(), QSize(105, 21));
}

// An adapter pulled out and plugged in again comes back at the same place, selected again.
TEST(DeviceBox, PortThatVanishesAndReturnsKeepsItsPlace) {
    FakeSysfs fake;
    fake.AddTty(QStringLiteral("ttyS0"));
    fake.AddUsbDevice(QStringLiteral("1-1"), "FT232R USB UART", "A50285BI");
    fake.AddTty(QStringLiteral("ttyUSB0"), QStringLiteral("1-1"));
    fake.AddTty(QStringLiteral("ttyACM0"));
    fake.AddTty(QStringLiteral("ttyFOO0"));
    TnrComm comm;
    comm.SetWatchDeviceChanges(false);
    comm.SetPortEnumerator(std::make_shared<SysfsPortList>(fake.ClassTty(), fake.DevDir()));
    comm.AddExtraPort(QStringLiteral("TKM-9214 simulator"), [] { return QString(); });
    TnrDeviceBox box;
    box.SetComm(&comm);
    const QStringList all = Items(box);
    ASSERT_EQ(all.size(), 5);
    for (const QString& pulled : {QStringLiteral("ttyUSB0"), QStringLiteral("ttyFOO0")}) {
        SCOPED_TRACE(pulled.toStdString());
        const int place = box.findText(u'/' + pulled, Qt::MatchContains);
        ASSERT_GE(place, 0);
        box.Change(place);
        fake.Pull(pulled);
        comm.Update();
        EXPECT_EQ(box.count(), 4);
        EXPECT_EQ(box.currentIndex(), -1); // the chosen port is not there
        fake.AddTty(pulled, pulled == QStringLiteral("ttyUSB0") ? QStringLiteral("1-1") : QString());
        comm.Update();
        EXPECT_EQ(Items(box), all);
        EXPECT_EQ(box.currentIndex(), place);
    }
}

} // namespace
