#pragma once

#include "files/IniFile.h"

#include <cstdio>
#include <string>

// What one save of the killed-save test writes: the keys the Setting page or the UserSymbols page
// writes, with values that differ from one generation to the next.
enum class SaveKind { Settings, Symbols };

inline void WriteGeneration(IniFile& file, SaveKind kind, int generation) {
    if (kind == SaveKind::Settings) {
        file.setValue("CommSetting", "BaudRated", std::to_string(generation % 10));
        file.setValue("CommSetting", "CodePage", std::to_string(generation % 3));
        file.setValue("CommSetting", "CS", std::to_string(generation % 2));
        file.setValue("CommSetting", "Addr", std::to_string(generation % 255 + 1));
        return;
    }
    for (int n = 0; n < 8; ++n) {
        char code[17];
        std::snprintf(code, sizeof code, "%08X%08X", generation, n);
        file.setValue("UserSymbols", std::to_string(n), code);
    }
}
