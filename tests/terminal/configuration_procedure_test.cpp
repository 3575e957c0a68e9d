// The configuration procedure's steps, driven as a front end drives them, over a scripted terminal.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "tests/support/TransactLine.h"

#include "terminal/ConfigurationProcedure.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tkm::terminal::ConfigurationProcedure;
using Step = ConfigurationProcedure::Step;

// Drives the procedure to its end, doing nothing but reporting each step back, and lists the steps.
std::vector<Step> drive(ConfigurationProcedure& procedure, tkm::terminal::TerminalLine& line) {
    std::vector<Step> steps;
    for (;;) {
        const Step step = procedure.next();
        steps.push_back(step);
        switch (step) {
        case Step::PowerCycle:
            procedure.powerCycled();
            break;
        case Step::SwitchToInitMode:
            procedure.switched();
            break;
        case Step::FindInInitMode:
            procedure.found();
            break;
        case Step::Write:
            (void)procedure.write(line, 7, 2);
            break;
        case Step::Follow:
            procedure.followed();
            break;
        case Step::Done:
            return steps;
        }
    }
}

TEST(ConfigurationProcedure, ANewRateOrChecksumModeAtABusAddressGoesThroughInitMode) {
    struct Case {
        const char* what;
        ConfigurationProcedure::Connection now;
        int baudIndex;
        bool checksum;
        bool initMode;
    };
    const Case cases[] = {
        {"address and code page only", {5, 5, false}, 5, false, false},
        {"another rate", {5, 5, false}, 9, false, true},
        {"checksum on", {5, 5, false}, 5, true, true},
        {"checksum mode not known", {5, 5, std::nullopt}, 5, false, true},
        {"at address 0 the terminal is in init mode already", {0, 5, false}, 9, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ConfigurationProcedure procedure(c.now, c.baudIndex, c.checksum);
        EXPECT_EQ(procedure.needsInitMode(), c.initMode);
        EXPECT_EQ(procedure.next(), c.initMode ? Step::PowerCycle : Step::Write);
    }
}

TEST(ConfigurationProcedure, WrittenAtABusAddressTheConnectionFollowsTheTerminal) {
    ScriptedTerminal terminal;
    terminal.address = 5;
    ScriptedPort port([&terminal](const std::string& frame) {
        // The terminal answers the configuration under its new address.
        return frame.rfind("%05", 0) == 0 ? std::string("!07\r") : terminal(frame);
    });
    TransactLine line(port);
    ConfigurationProcedure procedure({5, 5, false}, 5, false);
    EXPECT_EQ(drive(procedure, line), (std::vector<Step>{Step::Write, Step::Follow, Step::Done}));
    EXPECT_EQ(port.sent, std::vector<std::string>{"%05070Z060200"});
    EXPECT_EQ(procedure.newAddress(), 7);
    EXPECT_FALSE(procedure.takenAtPowerUp());
}

TEST(ConfigurationProcedure, InInitModeItIsWrittenAtAddressZeroForTheNextPowerUp) {
    ScriptedPort port([](const std::string&) { return std::string("!07\r"); });
    TransactLine line(port);
    ConfigurationProcedure procedure({5, 5, false}, 9, true);
    EXPECT_EQ(drive(procedure, line), (std::vector<Step>{Step::PowerCycle, Step::SwitchToInitMode,
                                                         Step::FindInInitMode, Step::Write, Step::Done}));
    EXPECT_EQ(port.sent, std::vector<std::string>{"%00070Z0A0240"});
    EXPECT_TRUE(procedure.takenAtPowerUp());
}

TEST(ConfigurationProcedure, AWriteNotAnsweredEndsWithoutFollowing) {
    ScriptedPort port([](const std::string&) { return std::string(); });
    TransactLine line(port);
    ConfigurationProcedure procedure({5, 5, false}, 5, false);
    ASSERT_EQ(procedure.next(), Step::Write);
    EXPECT_FALSE(procedure.write(line, 7, 1));
    EXPECT_EQ(procedure.next(), Step::Done);
    // A step reported out of its turn is a fault of the caller's.
    EXPECT_THROW(procedure.followed(), std::logic_error);
}

} // namespace
