#pragma once

#include "protocol/Frame.h"

#include <string>

// A minimal terminal answering the identification and page-entry commands at one address, for tests
// that need exact control over a reply (the simulator covers the real line). Checksum mode off.
// Its values differ from every initial state of the window (lines, directions, watchdog enabled with a
// period other than the track bar's 30), so a step that fails to show one of them is seen.
struct ScriptedTerminal {
    int address = 1;
    std::string configuration; // the $AA2 payload; empty: a proper one for `address`
    std::string watchdog;      // the ~AA2 payload; empty: enabled, period 0x28 (4 s)
    std::string codePage = "01";
    std::string lines = "A5"; // the @AA payload
    std::string name = "TKM-9214";

    std::string operator()(const std::string& frame) const {
        const std::string aa = tkm::protocol::AddressText(address);
        if (frame.size() < 3 || frame.compare(1, 2, aa) != 0)
            return {}; // not addressed: silence
        const char lead = frame[0];
        const std::string rest = frame.substr(3);
        auto ok = [&](const std::string& payload) { return "!" + aa + payload + "\r"; };
        if (lead == '$' && rest == "M")
            return ok(name);
        if (lead == '$' && rest == "F")
            return ok("1.02");
        if (lead == '$' && rest == "D")
            return ok("F0");
        if (lead == '~' && rest == "4P")
            return ok("0F");
        if (lead == '~' && rest == "4S")
            return ok("81");
        if (lead == '@' && rest.empty())
            return ">" + lines + "\r";
        if (lead == '@')
            return ">\r"; // lines written
        if (lead == '$' && rest == "2")
            return "!" + (configuration.empty() ? aa + "0Z06" + codePage + "00" : configuration) + "\r";
        if (lead == '~' && rest == "2")
            return "!" + (watchdog.empty() ? aa + "128" : watchdog) + "\r";
        return ok("");
    }
};
