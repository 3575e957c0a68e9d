// Field adapters: the driver modes a USB or RS-485 adapter offers are set at open and put back at
// close, the transmitter is switched around each frame, a port that cannot switch it does not open,
// and a slow USB adapter is warned about.
#include "FakeSysfs.h"
#include "PtyComm.h"
#include "SysfsPortList.h"
#include "TnrException.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// The driver of a USB adapter as far as the field modes go, and the line calls made on it in order.
// Shared with the test: the component owns the device.
struct AdapterDriver {
    bool HasLowLatency = true;
    bool HasRs485 = true;
    bool HasRts = true;
    bool LowLatency = false;
    SerialRs485 Mode{.Enabled = false, .RtsOnSend = false, .RtsAfterSend = true};
    QStringList Calls; // RTS switched, bytes written, output drained
};

// The real port on a pseudo-terminal with an adapter's driver modes played on top. With a pty path
// it opens that whatever path the port list gives (a node of a fake /dev).
class AdapterPort : public PosixSerialPort {
public:
    explicit AdapterPort(std::shared_ptr<AdapterDriver> driver, QString ptyPath = {})
        : D(std::move(driver)), FPtyPath(std::move(ptyPath)) {}

    int Open(const QString& path) override {
        return PosixSerialPort::Open(FPtyPath.isEmpty() ? path : FPtyPath);
    }
    int LowLatency(bool& on) override {
        if (!D->HasLowLatency)
            return ENOTTY;
        on = D->LowLatency;
        return 0;
    }
    int SetLowLatency(bool on) override {
        if (!D->HasLowLatency)
            return ENOTTY;
        D->LowLatency = on;
        return 0;
    }
    int Rs485(SerialRs485& mode) override {
        if (!D->HasRs485)
            return ENOTTY;
        mode = D->Mode;
        return 0;
    }
    int SetRs485(const SerialRs485& mode) override {
        if (!D->HasRs485)
            return ENOTTY;
        D->Mode = mode;
        return 0;
    }
    int SetModemLine(ModemLine line, bool on) override {
        if (line != LineRTS)
            return 0;
        if (!D->HasRts)
            return ENOTTY;
        D->Calls << (on ? QStringLiteral("RTS on") : QStringLiteral("RTS off"));
        return 0;
    }
    int Write(const char* bytes, quint32 count, quint32 timeoutMs, quint32& written) override {
        const int err = PosixSerialPort::Write(bytes, count, timeoutMs, written);
        D->Calls << QStringLiteral("write ") + QString::fromLatin1(bytes, written);
        return err;
    }
    int Drain() override {
        D->Calls << QStringLiteral("drain");
        return PosixSerialPort::Drain();
    }

private:
    std::shared_ptr<AdapterDriver> D;
    QString FPtyPath;
};

struct AdapterComm {
    AdapterComm() : p(std::make_unique<AdapterPort>(driver)) {
        p.comm.OnNote = [this](TnrCustomComm*, const QString& text) { notes << text; };
    }
    std::shared_ptr<AdapterDriver> driver = std::make_shared<AdapterDriver>();
    PtyComm p;
    QStringList notes;
};

TEST(FieldAdapter, LowLatencyIsAskedForAtOpenAndTheDriversFlagComesBackAtClose) {
    AdapterComm a;
    a.p.comm.SetActive(true);
    EXPECT_TRUE(a.driver->LowLatency);
    a.p.comm.SetActive(false);
    EXPECT_FALSE(a.driver->LowLatency);

    a.driver->LowLatency = true; // the user's own setting stays
    a.p.comm.SetActive(true);
    a.p.comm.SetActive(false);
    EXPECT_TRUE(a.driver->LowLatency);

    a.driver->LowLatency = false;
    a.p.comm.SetLowLatency(false);
    a.p.comm.SetActive(true);
    EXPECT_FALSE(a.driver->LowLatency);
    a.p.comm.SetActive(false);

    a.driver->HasLowLatency = false; // a driver without the mode opens all the same
    a.p.comm.SetLowLatency(true);
    a.p.comm.SetActive(true);
    EXPECT_TRUE(a.p.comm.GetActive());
    EXPECT_TRUE(a.notes.isEmpty());
}

TEST(FieldAdapter, Rs485UsesTheDriversModeAndPutsItsSettingsBackAtClose) {
    AdapterComm a;
    const SerialRs485 found = a.driver->Mode;
    a.p.comm.SetRs485(true);
    a.p.comm.SetActive(true);
    EXPECT_EQ(a.p.comm.DirectionControl(), TnrCustomComm::TDirectionControl::Driver);
    EXPECT_EQ(a.driver->Mode, (SerialRs485{.Enabled = true, .RtsOnSend = true, .RtsAfterSend = false}));
    EXPECT_EQ(a.notes, QStringList{QStringLiteral("RS-485 direction control on pty: the driver's RS-485 "
                                                  "mode switches the transmitter (RTS on while sending).")});
    a.p.comm.SendString("$01M\r");
    EXPECT_EQ(a.p.pty.Read(5), QByteArray("$01M\r"));
    EXPECT_EQ(a.driver->Calls, QStringList{QStringLiteral("write $01M\r")}); // the driver switches

    a.p.comm.SetActive(false);
    EXPECT_EQ(a.driver->Mode, found);
    EXPECT_EQ(a.p.comm.DirectionControl(), TnrCustomComm::TDirectionControl::None);
}

TEST(FieldAdapter, Rs485WithoutTheDriversModeRaisesRtsForEachFrameOnly) {
    AdapterComm a;
    a.driver->HasRs485 = false;
    a.p.comm.SetRs485(true);
    a.p.comm.SetActive(true);
    EXPECT_EQ(a.p.comm.DirectionControl(), TnrCustomComm::TDirectionControl::Rts);
    EXPECT_EQ(a.notes.size(), 1);
    EXPECT_TRUE(a.notes.value(0).contains(QStringLiteral("RTS is raised for each frame")));
    a.p.comm.SendString("$01M\r");
    a.p.comm.SendChar('~');
    EXPECT_EQ(a.p.pty.Read(6), QByteArray("$01M\r~"));
    EXPECT_EQ(a.driver->Calls, (QStringList{"RTS off", "RTS on", "write $01M\r", "drain", "RTS off", "RTS on",
                                            "write ~", "drain", "RTS off"}));
    a.p.comm.SetActive(false);
    a.p.comm.SetRs485(false); // no direction control: writes as ever
    a.p.comm.SetActive(true);
    a.driver->Calls.clear();
    a.p.comm.SendString("$01F\r");
    EXPECT_EQ(a.driver->Calls, QStringList{QStringLiteral("write $01F\r")});
}

TEST(FieldAdapter, Rs485OnAPseudoTerminalIsRefusedNamingThePort) {
    PtyComm p;
    p.comm.SetRs485(true);
    try {
        p.comm.SetActive(true);
        FAIL() << "opened with RS-485 direction control on a pseudo-terminal";
    } catch (const TnrException& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Device \"pty\" Open Error !!!\rRS-485 direction control is not "
                                 "possible on pty: its driver has no RS-485 mode, and it has no "
                                 "RTS line to switch the transmitter with."));
    }
    EXPECT_FALSE(p.comm.GetActive());
    p.comm.SetRs485(false);
    p.comm.SetActive(true);
    EXPECT_TRUE(p.comm.GetActive());
}

TEST(FieldAdapter, ASlowUsbAdapterIsWarnedAboutOncePerOpenWithTheRuleThatSpeedsItUp) {
    FakeSysfs fake;
    fake.AddTty(QStringLiteral("ttyS0"));
    fake.AddUsbDevice(QStringLiteral("1-1"), "FT232R USB UART", "A50285BI");
    fake.AddTty(QStringLiteral("ttyUSB0"), QStringLiteral("1-1"));
    fake.SetLatencyTimer(QStringLiteral("ttyUSB0"), 16);
    const QString byId = QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    fake.AddById(byId, QStringLiteral("ttyUSB0"));
    auto list = std::make_shared<SysfsPortList>(fake.ClassTty(), fake.DevDir());
    const std::optional<AdapterLatency> latency = list->LatencyOf(fake.DevDir() + QStringLiteral("/ttyUSB0"));
    ASSERT_TRUE(latency);
    EXPECT_EQ(latency->TimerMs, 16);
    EXPECT_EQ(latency->Driver, QStringLiteral("ftdi_sio"));
    EXPECT_EQ(list->LatencyOf(fake.DevDir() + QStringLiteral("/serial/by-id/") + byId)->TtyName,
              QStringLiteral("ttyUSB0"));
    EXPECT_FALSE(list->LatencyOf(fake.DevDir() + QStringLiteral("/ttyS0")));

    PtyPair pty;
    EXPECT_FALSE(list->LatencyOf(pty.SlavePath()));
    QTemporaryDir locks;
    TnrComm comm;
    comm.SetLockFolder(locks.path());
    comm.SetWatchDeviceChanges(false);
    comm.SetStreamProtocol(spNone);
    comm.SetPortEnumerator(list);
    comm.SetSerialDevice(std::make_unique<AdapterPort>(std::make_shared<AdapterDriver>(), pty.SlavePath()));
    comm.GetDeviceList(nullptr);
    comm.SetComPortNo(1001); // ttyUSB0
    QStringList warnings;
    comm.OnWarning = [&](TnrCustomComm*, const QString& text) { warnings << text; };
    comm.SetLatencyBudget(17); // a third of the reply wait at 9600 baud
    comm.SetActive(true);
    ASSERT_TRUE(comm.GetActive());
    EXPECT_TRUE(warnings.isEmpty());
    comm.SetLatencyBudget(7); // 115200 baud chosen on the open port
    EXPECT_EQ(
        warnings,
        QStringList{fake.DevDir() +
                    QStringLiteral("/ttyUSB0 (FT232R USB UART, A50285BI) holds received bytes for up to 16 "
                                   "ms (its latency timer), longer than replies at this baud rate can "
                                   "wait, so they may be missed. To set it to 1 ms whenever the adapter "
                                   "is plugged in, put this line into "
                                   "/etc/udev/rules.d/99-usb-serial-latency.rules: ACTION==\"add\", "
                                   "SUBSYSTEM==\"usb-serial\", DRIVER==\"ftdi_sio\", "
                                   "ATTR{latency_timer}=\"1\"")});
    comm.SetLatencyBudget(8);
    comm.SetActive(false);
    comm.SetActive(true);
    EXPECT_EQ(warnings.size(), 2);
}

} // namespace
