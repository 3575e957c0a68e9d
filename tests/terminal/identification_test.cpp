// The identification, as the window and the tool run it, over a scripted terminal.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "tests/support/TransactLine.h"

#include "terminal/Identification.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace term = tkm::terminal;

TEST(Identification, CheckedItChangesNothingOnTheTerminalAndStopsAtTheFirstValueOutsideTheLists) {
    ScriptedTerminal proper;
    {
        ScriptedPort port(proper);
        TransactLine line(port);
        term::DeviceData data;
        ASSERT_TRUE(term::Identify(line, 1, data, {false, term::Replies::Checked}));
        const std::vector<std::string> order = {"$01M",  "$01F", "$01D", "~014P",
                                                "~014S", "@01",  "$012", "~012"};
        EXPECT_EQ(port.sent, order);
    }
    struct Case {
        const char* what;
        std::string frame; // the command answered otherwise
        std::string reply;
        std::string why;
        std::string field;
    };
    const Case cases[] = {
        {"direction", "$01D", "!01f0\r", "", ""},
        {"direction", "$01D", "!01F\r", "not two hex digits", ""},
        {"safe value", "~014S", "!01812\r", "not two hex digits", ""},
        {"configuration", "$012", "!010Z06010\r", "not 10 characters", ""},
        {"address", "$012", "!G10Z060100\r", "'$G1' is not a valid integer value", ""},
        {"rate", "$012", "!010Z0B0100\r", "no baud rate has the code %1", "0B"},
        {"code page", "$012", "!010Z060300\r", "no code page has the code %1", "03"},
        {"format", "$012", "!010Z060141\r", "the format code %1 is neither 40 nor 00", "41"},
        {"watchdog", "~012", "!01128A\r", "not 5 characters", ""},
        {"watchdog period", "~012", "!011Z8\r", "'$Z8' is not a valid integer value", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what + (" " + c.reply));
        ScriptedPort port(
            [&](const std::string& frame) { return frame == c.frame ? c.reply : proper(frame); });
        TransactLine line(port);
        term::DeviceData data;
        const term::Result<> identified = term::Identify(line, 1, data, {false, term::Replies::Checked});
        if (c.why.empty()) {
            // Lower-case digits are digits still; the value is kept as the LEDs read back.
            ASSERT_TRUE(identified);
            EXPECT_EQ(data.direction, "F0");
            continue;
        }
        ASSERT_FALSE(identified);
        EXPECT_EQ(identified.fault().kind, term::Fault::Kind::InvalidReply);
        EXPECT_EQ(identified.fault().command.text, c.frame);
        EXPECT_EQ(identified.fault().why, c.why);
        EXPECT_EQ(identified.fault().field, c.field);
        EXPECT_EQ(port.sent.back(), c.frame) << "nothing sent after the reply that is not valid";
    }
}

} // namespace
