#include "sim/SimConsole.h"

#include "sim/SimFrame.h"
#include "sim/SimTerminal.h"
#include "sim/TerminalStateText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>
#include <vector>

namespace tkm::sim {

namespace {
// Keypad captions by key code 1..30.
constexpr std::array<std::string_view, kKeyCount> kKeyCaptions{
    "F1", "F2", "F3", "F4",   "F5", "F6", "F7", "F8",  "F9", "F10", "ESC", "7",    "8",    "9",     "Clear",
    "4",  "5",  "6",  "Menu", "1",  "2",  "3",  "+/-", "Up", "0",   "Dip", "Left", "Down", "Right", "Enter"};

std::vector<std::string> splitWords(std::string_view line) {
    std::istringstream stream{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<int> number(std::string_view text, int base = 10) {
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        const auto digit = hexDigitValue(c);
        if (!digit || *digit >= base)
            return std::nullopt;
        value = value * base + *digit;
    }
    return value;
}

std::optional<bool> onOff(const std::vector<std::string>& words, std::size_t index) {
    if (index >= words.size())
        return std::nullopt;
    if (words[index] == "on" || words[index] == "1")
        return true;
    if (words[index] == "off" || words[index] == "0")
        return false;
    return std::nullopt;
}
} // namespace

SimConsole::SimConsole(SimTerminal& terminal, Sink liveTrace)
    : terminal_(terminal), liveTrace_(std::move(liveTrace)) {}

SimConsole::~SimConsole() {
    terminal_.trace().setListener({});
}

int SimConsole::keyCode(std::string_view word) {
    if (const auto code = number(word); code)
        return *code >= 1 && *code <= kKeyCount ? *code : 0;
    if (word.size() == 2 && (word[0] == 'd' || word[0] == 'D') &&
        std::isdigit(static_cast<unsigned char>(word[1])))
        word.remove_prefix(1);
    else if (std::all_of(word.begin(), word.end(),
                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return 0;
    for (std::size_t i = 0; i < kKeyCaptions.size(); ++i)
        if (equalsIgnoringCase(word, kKeyCaptions[i]))
            return static_cast<int>(i) + 1;
    return 0;
}

void SimConsole::setLiveTrace(bool on) {
    if (on && liveTrace_)
        terminal_.trace().setListener(
            [sink = liveTrace_](const TraceEntry& entry) { sink(LineTrace::format(entry)); });
    else
        terminal_.trace().setListener({});
}

SimConsole::Outcome SimConsole::execute(std::string_view line) {
    const std::vector<std::string> words = splitWords(line);
    if (words.empty())
        return {};
    const std::string& command = words[0];
    TerminalModel& model = terminal_.model();

    if (command == "help" || command == "?")
        return {help()};
    if (command == "quit" || command == "exit")
        return {{}, true};
    if (command == "state" || command == "s")
        return {formatState(model.state())};
    if (command == "display" || command == "d")
        return {formatDisplay(model.state())};
    if (command == "symbols")
        return {formatSymbols(model.state())};
    if (command == "key" || command == "k") {
        if (words.size() < 2)
            return {"key needs key numbers 1..30 or names, e.g. key F1 Enter 12\n"};
        std::string output;
        for (std::size_t i = 1; i < words.size(); ++i) {
            const int code = keyCode(words[i]);
            if (code == 0)
                output += "no key \"" + words[i] + "\"\n";
            else if (!model.pressKey(code))
                output += "key " + std::to_string(code) + " lost (terminal off or key queue full)\n";
        }
        return {output};
    }
    if (command == "in") {
        if (words.size() == 2) {
            const auto levels = number(words[1], 16);
            if (!levels || *levels > 0xFF)
                return {"in needs two hex digits (line k = bit 7-k), or a line 0..7 and 0|1\n"};
            model.setInputs(static_cast<std::uint8_t>(*levels));
            return {};
        }
        const auto lineNumber = words.size() == 3 ? number(words[1]) : std::nullopt;
        const auto level = onOff(words, 2);
        if (!lineNumber || *lineNumber > 7 || !level)
            return {"in needs two hex digits (line k = bit 7-k), or a line 0..7 and 0|1\n"};
        model.setInputLine(*lineNumber, *level);
        return {};
    }
    if (command == "init") {
        const auto connected = onOff(words, 1);
        if (!connected)
            return {"init on|off\n"};
        model.setInitPin(*connected);
        return {"init pin " + std::string(*connected ? "connected" : "open") +
                "; it is sampled at power-up\n"};
    }
    if (command == "power") {
        const std::string what = words.size() > 1 ? words[1] : "cycle";
        if (what == "cycle")
            model.powerCycle();
        else if (what == "on")
            model.powerOn();
        else if (what == "off")
            model.powerOff();
        else
            return {"power [cycle|on|off]\n"};
        const TerminalState state = model.state();
        if (!state.powered)
            return {"terminal off\n"};
        return {"terminal on at address " + hexByte(state.address) + ", " +
                std::to_string(baudRateForCode(state.baudCode)) + " baud, checksum " +
                (state.checksum ? "on" : "off") + (state.initMode ? " (init mode)" : "") + "\n"};
    }
    if (command == "pace") {
        const auto on = onOff(words, 1);
        if (!on)
            return {"pace on|off\n"};
        terminal_.setPacing(*on);
        return {};
    }
    if (command == "echo") {
        const auto on = onOff(words, 1);
        if (!on)
            return {"echo on|off\n"};
        terminal_.setEcho(*on);
        return {};
    }
    if (command == "turnaround") {
        const auto ms = words.size() == 2 ? number(words[1]) : std::nullopt;
        if (!ms || *ms > PtyLine::kMaxTurnaround.count())
            return {"turnaround MILLISECONDS (0 to " + std::to_string(PtyLine::kMaxTurnaround.count()) +
                    ")\n"};
        terminal_.setTurnaround(std::chrono::milliseconds(*ms));
        return {};
    }
    if (command == "fault")
        return {faultCommand(words)};
    if (command == "trace")
        return {traceCommand(words)};
    return {"unknown command \"" + command + "\"; type help\n"};
}

std::string SimConsole::faultCommand(const std::vector<std::string>& words) {
    LineFaults faults = terminal_.faults();
    const std::string what = words.size() > 1 ? words[1] : "";
    const auto on = onOff(words, 2);
    if (what.empty()) {
        return "faults: " + faults.describe() + "\n";
    } else if (what == "clear") {
        faults = LineFaults{};
    } else if (what == "silence" && on) {
        faults.silence = *on;
    } else if (what == "badsum" && on) {
        faults.wrongChecksum = *on;
    } else if (what == "lowercase" && on) {
        faults.lowerCaseChecksum = *on;
    } else if (what == "late" && words.size() == 3) {
        const auto ms = words[2] == "off" ? std::optional(0) : number(words[2]);
        if (!ms)
            return "fault late MILLISECONDS|off\n";
        faults.lateReply = std::chrono::milliseconds(*ms);
    } else if (what == "truncate" && words.size() == 3) {
        const auto keep = words[2] == "off" ? std::optional(-1) : number(words[2]);
        if (!keep)
            return "fault truncate BYTES|off\n";
        faults.truncateTo = *keep;
    } else if (what == "garbage") {
        if (words.size() == 3 && words[2] == "off")
            faults.garbage.clear();
        else if (words.size() == 2 || (words.size() == 3 && words[2] == "on"))
            faults.garbage = LineFaults::kDefaultGarbage;
        else
            faults.garbage = words[2];
    } else {
        return "fault [silence|badsum|lowercase on|off] [late MS|off] [truncate N|off] [garbage [TEXT]|off] "
               "[clear]\n";
    }
    terminal_.setFaults(faults);
    return "faults: " + faults.describe() + "\n";
}

std::string SimConsole::traceCommand(const std::vector<std::string>& words) {
    LineTrace& trace = terminal_.trace();
    if (words.size() == 3 && words[1] == "live") {
        const auto on = onOff(words, 2);
        if (!on)
            return "trace live on|off\n";
        setLiveTrace(*on);
        return {};
    }
    if (words.size() == 2 && words[1] == "clear") {
        trace.clear();
        return {};
    }
    const auto count = words.size() == 2 ? number(words[1]) : std::optional(20);
    if (!count || words.size() > 2)
        return "trace [N] | trace clear | trace live on|off\n";
    const std::vector<TraceEntry> entries = trace.entries();
    std::string output;
    const std::size_t first = entries.size() > static_cast<std::size_t>(*count) ? entries.size() - *count : 0;
    for (std::size_t i = first; i < entries.size(); ++i)
        output += LineTrace::format(entries[i]) + "\n";
    return output.empty() ? "trace empty\n" : output;
}

std::string SimConsole::help() {
    return R"(Commands:
  state | s              everything the terminal holds (display, lamps, lines, watchdog, keys, symbols)
  display | d            the display only;  symbols: the user symbols only
  key K [K ...]          press keys: codes 1..30 or names F1..F10 ESC Clear Menu +/- Up Dip Left
                         Down Right Enter, digit keys d0..d9
  in HH                  levels of the input lines as two hex digits (line k = bit 7-k)
  in LINE 0|1            level of one input line 0..7
  init on|off            connect or open the init pin (the terminal looks at it at power-up)
  power [cycle|on|off]   switch the terminal (cycle: off, then on)
  fault                  show the faults
  fault silence on|off   take frames, send nothing
  fault late MS|off      start each reply MS milliseconds late
  fault badsum on|off    wrong reply checksum (checksum mode on)
  fault lowercase on|off lower-case checksum digits
  fault garbage [TEXT]|off   bytes before each reply (default #\xFF)
  fault truncate N|off   cut each reply to its first N bytes
  fault clear            all faults off
  pace on|off            send replies at the character time of the baud rate
  echo on|off            send every byte received straight back, before the reply (RS-485 echo)
  turnaround MS          answer MS milliseconds after a frame ends
  trace [N]              the last N frames (default 20);  trace clear;  trace live on|off
  quit | exit            end the program
)";
}

} // namespace tkm::sim
