#include "protocol/ConnectionArguments.h"

#include <algorithm>

namespace tkm::protocol {

namespace {

// Plain ASCII digits of the base only: no sign, no blanks. At most maxDigits of them.
std::optional<int> DigitsValue(std::string_view digits, int base, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        int digit = base;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

} // namespace

std::optional<int> BaudIndexOf(int rate) {
    const auto found = std::find(kBaudRates.begin(), kBaudRates.end(), rate);
    if (found == kBaudRates.end())
        return std::nullopt;
    return static_cast<int>(found - kBaudRates.begin());
}

std::string BaudRateList() {
    std::string list;
    for (const int rate : kBaudRates)
        list += (list.empty() ? "" : " ") + std::to_string(rate);
    return list;
}

std::optional<int> ParseBaudRateArgument(std::string_view text) {
    const std::optional<int> rate = DigitsValue(text, 10, 6);
    if (rate && BaudIndexOf(*rate))
        return rate;
    return std::nullopt;
}

std::optional<int> ParseAddressArgument(std::string_view text) {
    const bool hex = text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::optional<int> value = hex ? DigitsValue(text.substr(2), 16, 2) : DigitsValue(text, 10, 3);
    if (value && *value <= 255)
        return value;
    return std::nullopt;
}

} // namespace tkm::protocol
