#pragma once

// The connection's settings as a person types them on a command line: a baud rate of the baud-rate
// list and a bus address. The window's and the tool's command lines read them alike.
// Pure functions; any thread.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tkm::protocol {

// The rates of the baud-rate list, in its order: a rate's position is its baud-rate index.
inline constexpr std::array<int, 10> kBaudRates{300,  600,   1200,  2400,  4800,
                                                9600, 19200, 38400, 57600, 115200};

// The list index of a rate; nothing for a rate the list does not hold.
std::optional<int> BaudIndexOf(int rate);

// "300 600 ... 115200"
std::string BaudRateList();

// A rate of the list in plain decimal digits (no sign, no blanks); nothing otherwise.
std::optional<int> ParseBaudRateArgument(std::string_view text);

// An address 0..255 in decimal, or in hexadecimal as 0xNN (either case); nothing otherwise.
std::optional<int> ParseAddressArgument(std::string_view text);

} // namespace tkm::protocol
