// Typed text as the display commands send it: cut to 43 characters, Windows-1251, and nothing the
// terminal cannot show.
#include "files/TerminalText.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayText, CutToFortyThreeCharactersInWindows1251) {
    QString refused = QStringLiteral("stale");
    EXPECT_EQ(TerminalText::displayText(QStringLiteral("Привет"), &refused), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_TRUE(refused.isEmpty());
    EXPECT_EQ(TerminalText::displayText(QString(50, u'я'), &refused), std::string(43, '\xFF'));
    EXPECT_EQ(TerminalText::displayText(QString(), &refused), "");
}

TEST(DisplayText, ListsWhatTheTerminalCannotShowOnceEach) {
    struct Case {
        QString text;
        QString refused;
    };
    const Case cases[] = {
        {QStringLiteral("A\rB\r"), QStringLiteral("\\x0D")},
        {QStringLiteral("😀x😀\t\x7F"), QStringLiteral("😀\\x09\\x7F")},
        {QStringLiteral("€№"), QString()},
    };
    for (const Case& c : cases) {
        QString refused;
        TerminalText::displayText(c.text, &refused);
        EXPECT_EQ(refused, c.refused) << c.text.toStdString();
    }
    // Past the cut nothing is looked at.
    QString refused;
    TerminalText::displayText(QString(43, u'x') + QStringLiteral("\r"), &refused);
    EXPECT_TRUE(refused.isEmpty());
}

} // namespace
