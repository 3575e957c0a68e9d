#pragma once

#include "files/IniFile.h"

// The terminal's settings in a .tkm file, section "CommSetting", as the Setting page keeps them: list
// positions and the address, in decimal. Plain functions; any thread.
namespace SettingsFile {

inline constexpr const char* kSection = "CommSetting";

struct Values {
    int baudIndex = 5;     // "BaudRated": baud-rate list index, 5 = 9600
    int codePageIndex = 1; // "CodePage": 0 CP-866, 1 WIN-1251, 2 KOI-8R
    int checksumIndex = 1; // "CS": 0 enabled, 1 disabled
    int address = 1;       // "Addr": 0..255; a new address control keeps it within 1..255

    bool operator==(const Values&) const = default;
};

// Each value, or its default when it is missing, not a plain decimal number, negative or above the
// highest position of its list (9, 2, 1; 255 for the address).
Values read(const IniFile& file);

// Writes the four values into the section, leaving every other key as it is.
void write(IniFile& file, const Values& values);

} // namespace SettingsFile
