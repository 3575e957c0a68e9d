// The values of the .tkm files as the pages and the tool read them: settings with their defaults and
// bounds, symbol codes with the page's objections.
#include "files/IniFile.h"
#include "files/SettingsFile.h"
#include "files/SymbolFile.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsFile, EachValueFallsBackToItsDefaultWhenMissingMalformedOrOutOfRange) {
    struct Case {
        const char* text;
        SettingsFile::Values expected;
    };
    const Case cases[] = {
        {"", {5, 1, 1, 1}},
        {"[CommSetting]\r\nBaudRated=9\r\nCodePage=2\r\nCS=0\r\nAddr=255\r\n", {9, 2, 0, 255}},
        {"[CommSetting]\nBaudRated=12\nCodePage=3\nCS=2\nAddr=256\n", {5, 1, 1, 1}},
        {"[CommSetting]\nBaudRated=-1\nCodePage=x\nCS= 0 \nAddr=0\n", {5, 1, 0, 0}},
        {"[commsetting]\nbaudrated=7\n", {7, 1, 1, 1}},
        {"[UserSymbols]\n0=1F1F1F1F1F1F1F1F\n", {5, 1, 1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingsFile::read(IniFile(QByteArray(c.text))), c.expected) << c.text;
}

TEST(SettingsFile, WritesItsOwnKeysAndReadsThemBack) {
    IniFile file(QByteArrayLiteral("[UserSymbols]\r\n0=1F1F1F1F1F1F1F1F\r\n"));
    SettingsFile::write(file, {8, 0, 0, 42});
    EXPECT_EQ(file.bytes(), QByteArrayLiteral("[UserSymbols]\r\n0=1F1F1F1F1F1F1F1F\r\n[CommSetting]\r\n"
                                              "BaudRated=8\r\nCodePage=0\r\nCS=0\r\nAddr=42\r\n"));
    EXPECT_EQ(SettingsFile::read(file), (SettingsFile::Values{8, 0, 0, 42}));
}

TEST(SymbolFile, CodesAreCheckedWithThePagesObjections) {
    struct Case {
        const char* value;
        const char* code;
        const char* objection;
    };
    const Case cases[] = {
        {"1f1F1F1F1F1F1F1F", "1f1F1F1F1F1F1F1F", ""},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", ""},
        {"1F1F1F1F1F1F1F1", "0000000000000000", "Incorrect length symbol #3"},
        {"", "0000000000000000", "Incorrect length symbol #3"},
        {"1F1F1G1F1F1F1F1X", "0000000000000000", "Incorrect symbol #3 'G'"},
        {"1F1F1F1F1F1F1F\x01"
         "F",
         "0000000000000000", "Incorrect symbol #3 '\\x01'"},
    };
    for (const Case& c : cases) {
        const SymbolFile::Checked checked = SymbolFile::check(3, c.value);
        EXPECT_EQ(checked.code, c.code) << c.value;
        EXPECT_EQ(checked.objection, QString::fromUtf8(c.objection)) << c.value;
    }
}

TEST(SymbolFile, MissingKeysReadAsEmptySymbolsAndOtherSectionsStay) {
    IniFile file(QByteArrayLiteral("[CommSetting]\nAddr=5\n"));
    EXPECT_FALSE(SymbolFile::hasSymbols(file));
    EXPECT_EQ(SymbolFile::code(file, 0), "0000000000000000");
    SymbolFile::setCode(file, 7, "1F00000000000000");
    EXPECT_TRUE(SymbolFile::hasSymbols(file));
    EXPECT_EQ(SymbolFile::code(file, 7), "1F00000000000000");
    EXPECT_EQ(SymbolFile::code(file, 6), "0000000000000000");
    EXPECT_EQ(file.bytes(), QByteArrayLiteral("[CommSetting]\nAddr=5\n[UserSymbols]\n7=1F00000000000000\n"));
}

} // namespace
