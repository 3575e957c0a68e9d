#pragma once

#include "terminal/TerminalLine.h"

#include "protocol/Replies.h"

#include <optional>
#include <string>
#include <string_view>

namespace tkm::terminal {

// The terminal's configuration as it reported it ($AA2): the codes as received, two characters each
// (the test screens and the status bar show them so; the type code is not kept), read as values of the
// lists on demand. All codes empty: not known.
struct Configuration {
    std::string address;      // hex
    std::string baudCode;     // baud-rate list index + 1, hex
    std::string codePageCode; // "00" CP-866, "01" WIN-1251, "02" KOI-8R
    std::string formatCode;   // "40" checksum on, "00" off

    static Configuration of(const protocol::ConfigurationFields& fields);

    // The codes as numbers; each throws the conversion error (EConvertError) for a code that is no hex
    // number, the error the window shows in its exception box.
    int addressValue() const;
    int baudIndex() const; // may lie outside the baud-rate list
    int codePageIndex() const;
    // "CP-866", "WIN-1251" or "KOI-8R"; empty for any other code.
    std::string_view codePageName() const;
    // The terminal's checksum mode: on for format code "40", off for "00", not known for any other.
    std::optional<bool> checksum() const;

    bool operator==(const Configuration&) const = default;
};

// $AA2 at `address`: the reply must be exactly 10 characters. Checked, the codes must also describe a
// configuration of the lists: an address and a rate that are hex numbers, a rate of the baud-rate list,
// a code page the terminal has, a known format code.
Result<Configuration> ReadConfiguration(TerminalLine& line, int address,
                                        Replies replies = Replies::AsReceived);

} // namespace tkm::terminal
