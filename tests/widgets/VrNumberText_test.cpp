// Number conversions and the key filter of the numeric edit.
#include "VrNumberText.h"

#include <gtest/gtest.h>

TEST(VrParseFloat, AcceptsPlainNumbersOnly) {
    const struct {
        const char* text;
        QChar sep;
        std::optional<double> value;
    } cases[] = {
        {"123", '.', 123},   {"-123", '.', -123}, {" 3.5 ", '.', 3.5}, {"3,5", ',', 3.5},  {"3.5", ',', {}},
        {"-", '.', {}},      {"", '.', {}},       {".5", '.', 0.5},    {"5.", '.', 5},     {"1e3", '.', 1000},
        {"1E-2", '.', 0.01}, {"1e", '.', {}},     {"1.2.3", '.', {}},  {"12a", '.', {}},   {"+7", '.', 7},
        {"--1", '.', {}},    {"inf", '.', {}},    {"0x10", '.', {}},   {"1 000", '.', {}}, {".", '.', {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vrParseFloat(QString::fromLatin1(c.text), c.sep), c.value) << c.text;
}

TEST(VrFormatGeneral, FifteenSignificantDigitsNoTrailingZeros) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {7, "7"},
        {3.0, "3"},
        {2.5, "2.5"},
        {25.5, "25.5"},
        {0, "0"},
        {30 * 0.1, "3"}, // 3.0000000000000004 at 17 digits
        {-0.25, "-0.25"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e20, "1E20"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {-1.5e-7, "-1.5E-7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vrFormatGeneral(c.value, '.'), QString::fromLatin1(c.text)) << c.text;
    EXPECT_EQ(vrFormatGeneral(2.5, ','), QStringLiteral("2,5"));
}

TEST(VrFormatFixed, RoundsToTheDecimals) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {3.14159, 2, "3.14"},
        {7, 0, "7"},
        {25, 2, "25.00"},
        {0.125, 2, "0.13"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {9.999, 2, "10.00"},
        {0.004, 2, "0.00"},
        {-0.004, 2, "0.00"},
        {0.006, 2, "0.01"},
        {0.0004, 2, "0.00"},
        {-19.5, 1, "-19.5"},
        {1234.5678, 3, "1234.568"},
        {2.55, 1, "2.6"},
        {1.005, 2, "1.01"},
        {0, 3, "0.000"},
        {99.5, 0, "100"},
        {0.5, 0, "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vrFormatFixed(c.value, c.decimals, '.'), QString::fromLatin1(c.text))
            << c.value << " " << c.decimals;
    EXPECT_EQ(vrFormatFixed(3.14159, 2, ','), QStringLiteral("3,14"));
}

namespace {
struct Typed {
    QString text;
    int caret;
};

// Runs the filter as the edit would: a passed key is inserted at the caret.
Typed type(const QString& keys, Typed state, int decimals = 0, QChar sep = '.') {
    for (const QChar k : keys) {
        VrNumEditKeyContext c;
        c.text = state.text;
        c.caret = state.caret;
        c.decimals = decimals;
        c.separator = sep;
        const VrNumEditKeyAction a = vrNumEditFilterKey(k, c);
        if (a.kind == VrNumEditKeyAction::Pass) {
            state.text.insert(state.caret, k);
            ++state.caret;
        } else if (a.kind == VrNumEditKeyAction::Replace) {
            state = {a.text, a.caret};
        }
    }
    return state;
}
} // namespace

TEST(VrNumEditFilterKey, DigitsOnlyAndSignToggles) {
    Typed t = type("12a3", {"", 0});
    EXPECT_EQ(t.text, "123");
    EXPECT_EQ(t.caret, 3);
    t = type("-", t);
    EXPECT_EQ(t.text, "-123");
    EXPECT_EQ(t.caret, 4);
    t = type("-", t);
    EXPECT_EQ(t.text, "123");
    EXPECT_EQ(t.caret, 3);
    // Caret at the very start stays there when the sign goes.
    t = type("-", {"-5", 0});
    EXPECT_EQ(t.text, "5");
    EXPECT_EQ(t.caret, 0);
    t = type("-", {"5", 0});
    EXPECT_EQ(t.text, "-5");
    EXPECT_EQ(t.caret, 1);
    // A sign somewhere else (pasted) is the one removed.
    t = type("-", {"5-3", 3});
    EXPECT_EQ(t.text, "53");
    EXPECT_EQ(t.caret, 2);
}

TEST(VrNumEditFilterKey, DecimalSeparator) {
    EXPECT_EQ(type("1.5", {"", 0}, 0).text, "15");
    EXPECT_EQ(type("1.5.2", {"", 0}, 2).text, "1.52");
    EXPECT_EQ(type("1,5.2", {"", 0}, 2, ',').text, "1,52");
    EXPECT_EQ(type("1.5", {"", 0}, 2, ',').text, "15");
}

TEST(VrNumEditFilterKey, ControlCharacters) {
    VrNumEditKeyContext c;
    c.text = "12";
    c.caret = 2;
    c.savedText = "9";
    EXPECT_EQ(vrNumEditFilterKey(QChar(8), c).kind, VrNumEditKeyAction::Pass);
    EXPECT_EQ(vrNumEditFilterKey(QChar(13), c).kind, VrNumEditKeyAction::Consume);
    EXPECT_EQ(vrNumEditFilterKey(QChar(27), c).kind, VrNumEditKeyAction::Consume);
    EXPECT_EQ(vrNumEditFilterKey(QChar(' '), c).kind, VrNumEditKeyAction::Consume);
    c.restoreOnEsc = true;
    const VrNumEditKeyAction a = vrNumEditFilterKey(QChar(27), c);
    EXPECT_EQ(a.kind, VrNumEditKeyAction::Replace);
    EXPECT_EQ(a.text, "9");
}

TEST(VrNumEditFilterInsertion, KeepsWhatTypingWouldLetIn) {
    const struct {
        const char* text;
        int caret;
        int selStart, selLength;
        int decimals;
        char separator;
        const char* incoming;
        const char* result;
        int resultCaret;
    } cases[] = {
        {"", 0, -1, 0, 0, '.', "3abc", "3", 1},
        {"", 0, -1, 0, 2, '.', "3.14xyz", "3.14", 4},
        {"", 0, -1, 0, 0, '.', "3.14xyz", "314", 3},    // Decimals 0: no separator
        {"", 0, -1, 0, 2, '.', "3.14.15", "3.1415", 6}, // a second separator is refused
        {"", 0, -1, 0, 1, ',', "2.5,5", "25,5", 4},     // the system's separator only
        {"12", 2, -1, 0, 0, '.', "-3", "-123", 4},      // a minus toggles the sign, as typed
        {"-12", 3, -1, 0, 0, '.', "-3", "123", 3},
        {"12", 1, -1, 0, 0, '.', "\t9\r\n\b", "192", 2}, // control characters carry no keys
        {"12", 2, 0, 2, 0, '.', "7", "7", 1},            // the first character let in replaces
        {"12", 2, 0, 2, 0, '.', "xyz", "12", 2},         // nothing let in: the selection stays
        {"45", 0, -1, 0, 0, '.', "", "45", 0},
    };
    for (const auto& c : cases) {
        VrNumEditKeyContext context;
        context.text = QString::fromLatin1(c.text);
        context.caret = c.caret;
        context.decimals = c.decimals;
        context.separator = QLatin1Char(c.separator);
        context.restoreOnEsc = true;
        context.savedText = "999";
        const VrNumEditInsertion r =
            vrNumEditFilterInsertion(QString::fromLatin1(c.incoming), context, c.selStart, c.selLength);
        EXPECT_EQ(r.text, QString::fromLatin1(c.result)) << c.text << " + " << c.incoming;
        EXPECT_EQ(r.caret, c.resultCaret) << c.text << " + " << c.incoming;
    }
}
