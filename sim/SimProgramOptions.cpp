#include "sim/SimProgramOptions.h"

#include "sim/PtyLine.h"
#include "sim/SimFrame.h"

#include <algorithm>
#include <cctype>

namespace tkm::sim {

namespace {
std::optional<int> parseNumber(const std::string& text) {
    int base = 10;
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    if (digits.empty() || digits.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : digits) {
        const auto digit = hexDigitValue(c);
        if (!digit || *digit >= base)
            return std::nullopt;
        value = value * base + *digit;
    }
    return value;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::optional<int> parseCodePage(const std::string& text) {
    const std::string name = lower(text);
    if (name == "0" || name == "cp-866" || name == "cp866")
        return 0;
    if (name == "1" || name == "win-1251" || name == "win1251" || name == "cp1251")
        return 1;
    if (name == "2" || name == "koi-8r" || name == "koi8-r" || name == "koi8r")
        return 2;
    return std::nullopt;
}
} // namespace

std::optional<SimProgramOptions> SimProgramOptions::parse(const std::vector<std::string>& arguments,
                                                          std::string& error) {
    SimProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < arguments.size())
                return arguments[++i];
            error = name + " needs a value";
            return std::nullopt;
        };
        auto flag = [&](bool& target) {
            if (inlineValue) {
                error = name + " takes no value";
                return false;
            }
            target = true;
            return true;
        };

        if (name == "--help" || name == "-h") {
            if (!flag(options.help))
                return std::nullopt;
        } else if (name == "--version") {
            if (!flag(options.version))
                return std::nullopt;
        } else if (name == "--no-stdin") {
            bool set = false;
            if (!flag(set))
                return std::nullopt;
            options.readStdin = false;
        } else if (name == "--pace") {
            if (!flag(options.pacing))
                return std::nullopt;
        } else if (name == "--echo") {
            if (!flag(options.echo))
                return std::nullopt;
        } else if (name == "--turnaround") {
            const auto text = value();
            const auto ms = text ? parseNumber(*text) : std::nullopt;
            if (!ms || *ms > PtyLine::kMaxTurnaround.count()) {
                error = error.empty() ? "--turnaround needs milliseconds, 0 to " +
                                            std::to_string(PtyLine::kMaxTurnaround.count())
                                      : error;
                return std::nullopt;
            }
            options.turnaroundMs = *ms;
        } else if (name == "--trace") {
            if (!flag(options.trace))
                return std::nullopt;
        } else if (name == "--init") {
            if (!flag(options.settings.initPin))
                return std::nullopt;
        } else if (name == "--address") {
            const auto text = value();
            const auto number = text ? parseNumber(*text) : std::nullopt;
            if (!number) {
                error = error.empty() ? "--address needs a number, e.g. 5 or 0x05" : error;
                return std::nullopt;
            }
            options.settings.address = *number;
        } else if (name == "--baud") {
            const auto text = value();
            const auto rate = text ? parseNumber(*text) : std::nullopt;
            const int code = rate ? baudCodeForRate(*rate) : 0;
            if (code == 0) {
                error = error.empty()
                            ? "--baud must be one of 300 600 1200 2400 4800 9600 19200 38400 57600 115200"
                            : error;
                return std::nullopt;
            }
            options.settings.baudCode = code;
        } else if (name == "--checksum") {
            const auto text = value();
            if (!text || (*text != "on" && *text != "off")) {
                error = error.empty() ? "--checksum must be on or off" : error;
                return std::nullopt;
            }
            options.settings.checksum = *text == "on";
        } else if (name == "--code-page") {
            const auto text = value();
            const auto codePage = text ? parseCodePage(*text) : std::nullopt;
            if (!codePage) {
                error = error.empty() ? "--code-page must be CP-866, WIN-1251 or KOI-8R" : error;
                return std::nullopt;
            }
            options.settings.codePage = *codePage;
        } else if (name == "--name" || name == "--firmware" || name == "--type" || name == "--link") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            if (name == "--name")
                options.settings.deviceName = *text;
            else if (name == "--firmware")
                options.settings.firmware = *text;
            else if (name == "--type")
                options.settings.typeCode = *text;
            else if (text->empty())
                return error = "--link needs a path", std::nullopt;
            else
                options.link = *text;
        } else {
            error = "unknown option " + arguments[i];
            return std::nullopt;
        }
    }
    if (const std::string problem = options.settings.validate(); !problem.empty()) {
        error = problem;
        return std::nullopt;
    }
    return options;
}

std::string SimProgramOptions::usage() {
    return R"(Usage: tkm9214-sim [options]

A simulated TKM-9214 operator terminal on a pseudo-terminal. It prints the slave device's path
(first line of standard output); open that path like a serial port. Then it reads commands from
standard input (type "help") until end of input, SIGINT or SIGTERM.

Terminal:
  --address N        bus address 1..255, decimal or 0x hex (default 1)
  --baud RATE        300 600 1200 2400 4800 9600 19200 38400 57600 115200 (default 9600)
  --checksum on|off  frame checksum mode (default off)
  --code-page CP     CP-866, WIN-1251 or KOI-8R (default WIN-1251)
  --name TEXT        device name, the reply to $AAM (default TKM-9214)
  --firmware TEXT    firmware text, the reply to $AAF (default 1.02)
  --type XX          type code in the configuration reply (default 0Z)
  --init             init pin connected at power-up: address 00, 9600 baud, checksum off

Line and program:
  --link PATH        also make PATH a symbolic link to the slave device (removed at exit; an old
                     link at PATH is replaced, any other file is left alone and is an error)
  --pace             send replies at the character time of the baud rate
  --echo             send every byte received straight back, before the reply, as a two-wire
                     RS-485 line does whose adapter hears its own transmitter
  --turnaround MS    the terminal answers MS milliseconds after a frame ends (default 0); find
                     how late a terminal may answer at each baud rate
  --trace            print every frame received and sent on standard error
  --no-stdin         read no commands; run until SIGINT or SIGTERM. Use it to run in the
                     background, e.g.  tkm9214-sim --link /tmp/tkm --no-stdin &
                     (without it, end of input ends the program)
  --help             this text
  --version          the program's version

The line answers only while the host's line settings match the terminal's: its baud rate, 8 data
bits, no parity. Try:  stty -F /tmp/tkm 9600 raw -echo; cat /tmp/tkm & printf '$01M\r' > /tmp/tkm
)";
}

} // namespace tkm::sim
