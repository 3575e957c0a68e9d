// save and apply: a terminal's settings into a .tkm file as the Setting page writes them, and a .tkm
// profile into a terminal, end to end through the init-pin power cycle on the simulated terminal.
#include "SimulatedTerminalFixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

const std::string kSymbolA = "0E11111F11111100";
const std::string kSymbolB = "1F1F1F1F1F1F1F1F";

class ToolProfileTest : public SimulatedTerminalFixture {
public:
    void SetUp() override {
        SimulatedTerminalFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
    }
    std::string file(const char* name, const QByteArray& content) const {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return path.toStdString();
    }
    static QByteArray contents(const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    static QByteArray symbolsSection() {
        QByteArray section = "[UserSymbols]\r\n";
        for (int n = 0; n < 8; ++n)
            section +=
                QByteArray::number(n) + '=' + QByteArray::fromStdString(n % 2 ? kSymbolB : kSymbolA) + "\r\n";
        return section;
    }
    void powerCycle(bool initPin) {
        terminal->model().setInitPin(initPin);
        terminal->model().powerCycle();
    }

    QTemporaryDir folder;
};

TEST_F(ToolProfileTest, SaveWritesTheSettingsAsTheSettingPageDoesAndKeepsTheRestOfTheFile) {
    tkm::sim::TerminalSettings settings;
    settings.address = 5;
    settings.baudCode = 8;
    settings.codePage = 2;
    settings.checksum = true;
    startTerminal(settings);
    const std::string both =
        file("both.tkm", "[UserSymbols]\r\n0=1F1F1F1F1F1F1F1F\r\n[CommSetting]\r\nMine=kept\r\n");
    ToolProcess::Outcome outcome =
        tool({"--address", "5", "--baud", "38400", "--checksum", "save", both, "--json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out), json(R"({"saved":")" + both + R"(","settings":{"address":5,"baud":38400,
                                            "code_page":"KOI-8R","checksum":true}})"));
    const QByteArray saved = contents(both);
    EXPECT_TRUE(saved.startsWith(
        "[UserSymbols]\r\n0=1F1F1F1F1F1F1F1F\r\n[CommSetting]\r\nMine=kept\r\nBaudRated=7\r\n"
        "CodePage=2\r\nCS=0\r\nAddr=5\r\n[Modification]\r\nDateTime="))
        << saved.toStdString();
    EXPECT_TRUE(saved.endsWith("\r\n"));
    EXPECT_EQ(received(), std::vector<std::string>{"$052BB"});

    // A file the INI layer cannot read is refused before the terminal is asked.
    const std::string mac = file("mac.tkm", "[CommSetting]\rAddr=3\r");
    outcome = tool({"--address", "5", "--baud", "38400", "--checksum", "save", mac});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err,
              "tkm9214: Cannot save " + mac +
                  ":\ntkm9214: The file's lines end in CR alone; .tkm files end them in CR LF or LF\n");
    EXPECT_EQ(contents(mac), "[CommSetting]\rAddr=3\r");
    EXPECT_TRUE(received().empty());

    // In init mode the terminal does not tell its own settings.
    settings.initPin = true;
    startTerminal(settings);
    const std::string none = folder.filePath(QStringLiteral("none.tkm")).toStdString();
    outcome = tool({"--address", "0", "save", none});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("init mode"), std::string::npos) << outcome.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(none)));
}

TEST_F(ToolProfileTest, ApplyTakesAProfileThroughTheInitPinPowerCycleAndVerifiesIt) {
    const std::string profile =
        file("profile.tkm", "[CommSetting]\r\nBaudRated=7\r\nCodePage=2\r\nCS=0\r\nAddr=9\r\n" +
                                symbolsSection() + "[Modification]\r\nDateTime=01.02.2024 10:11:12\r\n");
    ToolProcess apply(onPort({"apply", profile, "--verify", "--json"}));
    ASSERT_TRUE(
        apply.waitForError("2) Connect init pin to GND\n3) Power on the TKM-9214\nPress Enter when done"));
    powerCycle(true);
    apply.send("\n");
    ASSERT_TRUE(apply.waitForError("2) Disconnect init pin from GND"));
    tkm::sim::TerminalState now = state();
    EXPECT_TRUE(now.initMode);
    EXPECT_EQ(now.storedAddress, 9);
    EXPECT_EQ(now.storedBaudCode, 8);
    EXPECT_EQ(now.symbols[0], kSymbolA);
    EXPECT_EQ(now.symbols[7], kSymbolB);
    powerCycle(false);
    apply.send("\n");
    const ToolProcess::Outcome outcome = apply.finish();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(json(outcome.out),
              json(R"({"settings":{"address":9,"baud":38400,"code_page":"KOI-8R","checksum":true},
                                          "power_cycle":true,"symbols":[0,1,2,3,4,5,6,7],"verified":true})"));
    const std::vector<std::string> frames = received();
    ASSERT_EQ(frames.size(), 3u + 8u + 8u)
        << "configuration read, init-mode read, write, symbols, identification";
    EXPECT_EQ(frames[0], "$012");
    EXPECT_EQ(frames[1], "$002");
    EXPECT_EQ(frames[2], "%00090Z080240");
    EXPECT_EQ(frames[3], "$00G0" + kSymbolA);
    EXPECT_EQ(frames[10], "$00G7" + kSymbolB);
    EXPECT_EQ(frames[11].substr(0, 4), "$09M");
    now = state();
    EXPECT_EQ(now.address, 9);
    EXPECT_EQ(now.baudCode, 8);
    EXPECT_TRUE(now.checksum);
    EXPECT_EQ(now.codePage, 2);
    EXPECT_EQ(now.symbols[1], kSymbolB);
}

TEST_F(ToolProfileTest, ApplyWritesWhatTheFileHoldsAndRefusesOrStopsAtTheFirstFailure) {
    // Only symbols, at the terminal's address; only settings, a new address taken at once.
    ToolProcess::Outcome outcome = tool({"apply", file("symbols.tkm", symbolsSection())});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    std::vector<std::string> frames = received();
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[0], "$01G0" + kSymbolA);
    outcome = tool({"apply", file("address.tkm", "[CommSetting]\r\nAddr=3\r\n")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "written: address 3 (0x03), 9600 baud, WIN-1251, checksum off\n");
    EXPECT_EQ(received(), (std::vector<std::string>{"$012", "%01030Z060100"}));
    EXPECT_EQ(state().address, 3);

    // Refused before anything is sent.
    const std::string neither = file("neither.tkm", "[Other]\r\nx=1\r\n");
    outcome = tool({"--address", "3", "apply", neither});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err,
              "tkm9214: " + neither +
                  " holds neither settings ([CommSetting]) nor user symbols ([UserSymbols]); nothing "
                  "was sent\n");
    outcome = tool({"--address", "3", "apply",
                    file("short.tkm", "[CommSetting]\r\nAddr=4\r\n[UserSymbols]\r\n5=123\r\n")});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("Incorrect length symbol #5"), std::string::npos) << outcome.err;
    EXPECT_TRUE(received().empty());

    // The init-mode terminal does not answer (no power cycle after all): nothing is written.
    ToolProcess apply(
        onPort({"--address", "3", "apply",
                file("fast.tkm", "[CommSetting]\r\nBaudRated=9\r\nAddr=3\r\n" + symbolsSection())}));
    ASSERT_TRUE(apply.waitForError("Press Enter"));
    apply.send("\n");
    outcome = apply.finish();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(
        outcome.err.find("Device not found (address 0x00, 9600 baud, checksum off); nothing was sent; the "
                         "user symbols were not written"),
        std::string::npos)
        << outcome.err;
    EXPECT_EQ(received(), (std::vector<std::string>{"$032", "$002"}));
}

} // namespace
