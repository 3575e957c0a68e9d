// The Setting page writing the configuration of the built-in simulated terminal over a real
// pseudo-terminal, including the init-pin power cycle the user performs while the warning is shown.
#include "SimulatedLineFixture.h"

#include "app/AppDialogs.h"
#include "app/SettingPage.h"
#include "app/StatusBarPanels.h"

#include "sim/TerminalModel.h"

#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

class SettingOnTheLine : public SimulatedLine {
protected:
    SettingPage* page() const { return window->Setting; }
    tkm::sim::TerminalModel& terminal() const { return sim()->model(); }

    // What the user does while the power-cycle warning is shown, and whether they press OK. Every
    // box's text is recorded in `messages`.
    void whileWarningShows(std::function<bool()> user) {
        AppDialogs::setMessageBox([this, user = std::move(user)](
                                      AppDialogs::Icon, AppDialogs::Buttons buttons, const QString& text) {
            messages << text;
            return buttons == AppDialogs::Buttons::OkCancel ? user() : true;
        });
    }

    // The simulated terminal as delivered to the site: address 5, 9600 baud, checksum off.
    void findTerminalAtFive() {
        tkm::sim::TerminalSettings settings;
        settings.address = 5;
        openSimulator(settings);
        identifyAt(5);
    }

    void setNew(int address, int baud, int codePage, int checksum) {
        page()->AdrNew->SetPosition(address);
        page()->BRNew->setCurrentIndex(baud);
        page()->CodePage->setCurrentIndex(codePage);
        page()->CheckSum->setCurrentIndex(checksum);
    }

    static bool anyConfigurationWrite(const std::vector<std::string>& frames) {
        return std::any_of(frames.begin(), frames.end(),
                           [](const std::string& f) { return f.front() == '%'; });
    }
};

} // namespace

TEST_F(SettingOnTheLine, MatchingRateAndFormatWriteAtOnceAndFollowTheNewAddress) {
    findTerminalAtFive();
    setNew(0x2A, 5, 2, 1);
    page()->SaveSettign->click();

    const std::vector<std::string> frames = received();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[0], "%052A0Z060200");
    EXPECT_EQ(frames[1], "$2AM"); // identification at the new address
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(window->Adr->Position(), 0x2A);
    EXPECT_EQ(terminal().state().address, 0x2A);
    // Cleared after the write whatever happened, so the next tick reads the new configuration.
    EXPECT_FALSE(window->connection().found());
    window->Timer1Timer();
    EXPECT_TRUE(window->connection().found());
    EXPECT_EQ(window->StBar->panelText(5), QStringLiteral("KOI-8R"));
}

TEST_F(SettingOnTheLine, CancellingThePowerCycleSendsNothingAndChangesNothing) {
    findTerminalAtFive();
    whileWarningShows([] { return false; });
    struct Case {
        const char* what;
        int baud, checksum;
    };
    for (const Case c : {Case{"new baud rate", 6, 1}, Case{"checksum on", 5, 0}}) {
        messages.clear();
        setNew(9, c.baud, 1, c.checksum);
        page()->SaveSettign->click();
        EXPECT_EQ(messages, QStringList{SettingPage::kPowerCycleText}) << c.what;
        EXPECT_TRUE(received().empty()) << c.what;
        EXPECT_EQ(window->Adr->Position(), 5);
        EXPECT_EQ(window->BR->currentIndex(), 5);
        EXPECT_TRUE(window->connection().found());
    }
    EXPECT_EQ(terminal().state().storedAddress, 5);
}

TEST_F(SettingOnTheLine, ThePowerCycleWithTheInitPinWritesAtAddressZeroAndTheTerminalIsFoundAgain) {
    findTerminalAtFive();
    whileWarningShows([this] {
        terminal().setInitPin(true);
        terminal().powerCycle();
        return true;
    });
    setNew(9, 6, 2, 0); // 19200, KOI-8R, checksum enabled
    page()->SaveSettign->click();

    EXPECT_EQ(messages, QStringList{SettingPage::kPowerCycleText});
    const std::vector<std::string> frames = received();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back(), "%00090Z070240");
    EXPECT_EQ(
        std::count_if(frames.begin(), frames.end(), [](const std::string& f) { return f.front() == '%'; }),
        1);
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_EQ(window->BR->currentIndex(), 5);
    EXPECT_FALSE(window->CSE->Active());
    EXPECT_FALSE(window->connection().checksumMode());
    EXPECT_FALSE(window->connection().found());
    tkm::sim::TerminalState state = terminal().state();
    EXPECT_EQ(state.storedAddress, 9);
    EXPECT_EQ(state.storedBaudCode, 7);
    EXPECT_TRUE(state.storedChecksum);
    EXPECT_EQ(state.codePage, 2);

    // Powered up without the pin, the terminal takes its new settings; the user sets the connection to
    // match and scans for it.
    terminal().setInitPin(false);
    terminal().powerCycle();
    window->BR->setCurrentIndex(6);
    window->BRChange();
    window->CSE->SetActive(true);
    window->CSEClick();
    window->Scan->SetActive(true);
    window->Timer1Timer();
    EXPECT_EQ(window->Adr->Position(), 9);
    EXPECT_TRUE(window->connection().found());
    EXPECT_FALSE(window->Scan->Active());
    EXPECT_EQ(window->StBar->panelText(5), QStringLiteral("KOI-8R"));
    EXPECT_EQ(window->StBar->panelText(7), QStringLiteral("ON"));
}

TEST_F(SettingOnTheLine, WithoutTheInitPinTheDeviceIsNotFoundAndNothingIsWritten) {
    findTerminalAtFive();
    whileWarningShows([] { return true; });
    setNew(9, 6, 1, 1);
    page()->SaveSettign->click();
    EXPECT_EQ(messages, (QStringList{SettingPage::kPowerCycleText, QStringLiteral("Device not found")}));
    EXPECT_FALSE(anyConfigurationWrite(received()));
    EXPECT_EQ(terminal().state().storedBaudCode, 6);
    EXPECT_EQ(window->Adr->Position(), 0);
}

TEST_F(SettingOnTheLine, AtAddressZeroThereIsNeverAPowerCycleBox) {
    tkm::sim::TerminalSettings settings;
    settings.initPin = true; // in init mode: address 0, 9600 baud, checksum off
    openSimulator(settings);
    identifyAt(0);
    setNew(1, 8, 1, 0);
    page()->SaveSettign->click();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(received(), std::vector<std::string>{"%00010Z090140"});
    EXPECT_EQ(window->Adr->Position(), 0);
    EXPECT_FALSE(window->connection().found());
    EXPECT_EQ(terminal().state().storedBaudCode, 9);
    EXPECT_TRUE(terminal().state().storedChecksum);
}

TEST_F(SettingOnTheLine, ReadSettingShowsTheIdentifiedConfiguration) {
    tkm::sim::TerminalSettings settings;
    settings.address = 7;
    settings.baudCode = 8; // 38400
    settings.codePage = 2;
    settings.checksum = true;
    openSimulator(settings, 7);
    window->CSE->SetActive(true);
    window->CSEClick();
    identifyAt(7);
    EXPECT_TRUE(sim()->trace().formatAll().find("070Z080240") != std::string::npos);
    page()->ReadSetting->click();
    EXPECT_EQ(page()->AdrNew->Position(), 7);
    EXPECT_EQ(page()->BRNew->currentText(), QStringLiteral("38400"));
    EXPECT_EQ(page()->CodePage->currentText(), QStringLiteral("KOI-8R"));
    EXPECT_EQ(page()->CheckSum->currentText(), QStringLiteral("Enabled"));
    EXPECT_TRUE(received().empty());
}
