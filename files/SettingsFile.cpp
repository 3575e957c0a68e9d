#include "files/SettingsFile.h"

#include <charconv>
#include <optional>
#include <string>

namespace SettingsFile {

namespace {

int value(const IniFile& file, const char* key, int fallback, int highest) {
    const std::optional<std::string> text = file.value(kSection, key);
    if (!text)
        return fallback;
    int number = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, number);
    if (error != std::errc() || stop != end || number < 0 || number > highest)
        return fallback;
    return number;
}

} // namespace

Values read(const IniFile& file) {
    const Values defaults;
    Values values;
    values.baudIndex = value(file, "BaudRated", defaults.baudIndex, 9);
    values.codePageIndex = value(file, "CodePage", defaults.codePageIndex, 2);
    values.checksumIndex = value(file, "CS", defaults.checksumIndex, 1);
    values.address = value(file, "Addr", defaults.address, 255);
    return values;
}

void write(IniFile& file, const Values& values) {
    file.setValue(kSection, "BaudRated", std::to_string(values.baudIndex));
    file.setValue(kSection, "CodePage", std::to_string(values.codePageIndex));
    file.setValue(kSection, "CS", std::to_string(values.checksumIndex));
    file.setValue(kSection, "Addr", std::to_string(values.address));
}

} // namespace SettingsFile
