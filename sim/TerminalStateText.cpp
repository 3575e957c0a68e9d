#include "sim/TerminalStateText.h"

#include "sim/SimFrame.h"

#include <cstdio>

namespace tkm::sim {

namespace {
const char* const kMiddleDot = "\u00B7";

// KOI8-R 0xC0..0xDF; 0xE0..0xFF hold the same letters in upper case.
const char* const kKoi8Lower[32] = {"ю", "а", "б", "ц", "д", "е", "ф", "г", "х", "и", "й",
                                    "к", "л", "м", "н", "о", "п", "я", "р", "с", "т", "у",
                                    "ж", "в", "ь", "ы", "з", "ш", "э", "щ", "ч", "ъ"};
const char* const kKoi8Upper[32] = {"Ю", "А", "Б", "Ц", "Д", "Е", "Ф", "Г", "Х", "И", "Й",
                                    "К", "Л", "М", "Н", "О", "П", "Я", "Р", "С", "Т", "У",
                                    "Ж", "В", "Ь", "Ы", "З", "Ш", "Э", "Щ", "Ч", "Ъ"};

std::string utf8(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// Cyrillic letters of the code page, as code points; 0 for anything else.
char32_t cyrillic(unsigned char byte, int codePage) {
    switch (codePage) {
    case 0: // CP-866
        if (byte >= 0x80 && byte <= 0xAF)
            return U'\u0410' + (byte - 0x80);
        if (byte >= 0xE0 && byte <= 0xEF)
            return U'\u0440' + (byte - 0xE0);
        if (byte == 0xF0)
            return U'\u0401';
        if (byte == 0xF1)
            return U'\u0451';
        return 0;
    case 1: // WIN-1251
        if (byte >= 0xC0)
            return U'\u0410' + (byte - 0xC0);
        if (byte == 0xA8)
            return U'\u0401';
        if (byte == 0xB8)
            return U'\u0451';
        return 0;
    default:
        return 0;
    }
}

std::string onOff(bool on) {
    return on ? "on" : "off";
}

std::string bitsText(std::uint8_t value, char one, char zero) {
    std::string text;
    for (int line = 0; line < 8; ++line)
        text += std::string(line ? " " : "") + ((value & (0x80 >> line)) ? one : zero);
    return text;
}

std::string seconds(long long tenths) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%lld s", tenths / 10, tenths % 10);
    return text;
}
} // namespace

std::string displayByteText(unsigned char byte, int codePage) {
    const unsigned char firstSymbol = codePage == 2 ? 0xB8 : 0xB0;
    if (byte >= firstSymbol && byte < firstSymbol + kUserSymbols)
        return utf8(U'\u2080' + (byte - firstSymbol));
    if (byte >= 0x20 && byte < 0x7F)
        return std::string(1, static_cast<char>(byte));
    if (codePage == 2) {
        if (byte >= 0xC0 && byte <= 0xDF)
            return kKoi8Lower[byte - 0xC0];
        if (byte >= 0xE0)
            return kKoi8Upper[byte - 0xE0];
        if (byte == 0xB3)
            return "Ё";
        if (byte == 0xA3)
            return "ё";
        return kMiddleDot;
    }
    if (const char32_t letter = cyrillic(byte, codePage))
        return utf8(letter);
    return kMiddleDot;
}

std::string displayRowText(const std::string& row, int codePage) {
    std::string text;
    for (char c : row)
        text += displayByteText(static_cast<unsigned char>(c), codePage);
    return text;
}

std::string codePageName(int codePage) {
    switch (codePage) {
    case 0:
        return "CP-866";
    case 1:
        return "WIN-1251";
    case 2:
        return "KOI-8R";
    default:
        return "code page " + std::to_string(codePage);
    }
}

std::string formatDisplay(const TerminalState& state) {
    std::string cursor = "cursor ";
    if ((state.displaySettings & (kBlinkingCursor | kStaticCursor)) == 0)
        cursor += "hidden";
    else
        cursor +=
            std::string((state.displaySettings & kBlinkingCursor) ? "blinking" : "") +
            ((state.displaySettings & kBlinkingCursor) && (state.displaySettings & kStaticCursor) ? "+"
                                                                                                  : "") +
            ((state.displaySettings & kStaticCursor) ? "static" : "");
    std::string text = "display " + std::string((state.displaySettings & kDisplayEnabled) ? "on" : "OFF") +
                       ", " + cursor + " at row " + std::to_string(state.cursorRow) + " column " +
                       std::to_string(state.cursorColumn) + " (settings " + hexByte(state.displaySettings) +
                       ", saved " + hexByte(state.savedDisplaySettings) + ")\n";
    const std::string border = "  +" + std::string(kDisplayColumns, '-') + "+\n";
    text += border;
    for (const std::string& row : state.rows)
        text += "  |" + displayRowText(row, state.codePage) + "|\n";
    text += border;
    return text;
}

std::string formatSymbols(const TerminalState& state) {
    std::string text = "user symbols:\n ";
    for (int k = 0; k < kUserSymbols; ++k)
        text += "  " + std::to_string(k) + "     ";
    text += "\n";
    for (std::size_t row = 0; row < 8; ++row) {
        text += " ";
        for (const std::string& code : state.symbols) {
            const auto high = hexDigitValue(code[2 * row]);
            const auto low = hexDigitValue(code[2 * row + 1]);
            const int bits = (high.value_or(0) << 4) | low.value_or(0);
            text += "  ";
            for (int column = 0; column < 5; ++column)
                text += (bits & (0x10 >> column)) ? '#' : '.';
            text += " ";
        }
        text += "\n";
    }
    text += " codes:";
    for (const std::string& code : state.symbols)
        text += " " + code;
    return text + "\n";
}

std::string formatState(const TerminalState& state) {
    std::string text = "terminal \"" + state.deviceName + "\", firmware \"" + state.firmware + "\", type " +
                       state.typeCode + ": power " + onOff(state.powered) + ", init pin " +
                       (state.initPin ? "connected" : "open") + (state.initMode ? " (init mode)" : "") + "\n";
    text += "line:   address " + hexByte(state.address) + ", " +
            std::to_string(baudRateForCode(state.baudCode)) + " baud, checksum " + onOff(state.checksum) +
            "\n";
    text += "stored: address " + hexByte(state.storedAddress) + ", " +
            std::to_string(baudRateForCode(state.storedBaudCode)) + " baud, checksum " +
            onOff(state.storedChecksum) + ", code page " + codePageName(state.codePage) + "\n";
    text += formatDisplay(state);
    text += "lamps:  L1 " + onOff(state.lamp1) + ", L2 " + onOff(state.lamp2) + "\n";
    text += "DIO:    lines " + hexByte(state.lines) + ", direction " + hexByte(state.direction) +
            ", outputs " + hexByte(state.outputs) + ", inputs " + hexByte(state.inputs) + ", power-on " +
            hexByte(state.powerOnValue) + ", safe " + hexByte(state.safeValue) + "\n";
    text += "        line      0 1 2 3 4 5 6 7\n";
    text += "        direction " + bitsText(state.direction, 'I', 'O') + "\n";
    text += "        state     " + bitsText(state.lines, '1', '0') + "\n";
    text += "watchdog: " + std::string(state.watchdogEnabled ? "enabled" : "disabled") + ", period " +
            hexByte(static_cast<unsigned>(state.watchdogPeriod)) + " (" + seconds(state.watchdogPeriod) +
            "), module status " + hexByte(static_cast<unsigned>(state.moduleStatus)) +
            (state.moduleStatus == kWatchdogAlarmStatus ? " (ALARM)" : "") + ", last host-alive " +
            seconds(state.sinceHostAlive.count() / 100) + " ago\n";
    text += "keys waiting:";
    if (state.keys.empty())
        text += " none";
    for (int key : state.keys)
        text += " " + std::to_string(key);
    text += "\n";
    return text + formatSymbols(state);
}

} // namespace tkm::sim
