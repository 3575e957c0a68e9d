// Terminal bytes shown in the window: Windows-1251, plain text, control bytes visible.
#include "tests/support/ScriptedPort.h"
#include "tests/support/ScriptedTerminal.h"
#include "WindowFixture.h"

#include "app/StatusBarPanels.h"
#include "app/TrafficMemo.h"
#include "files/TerminalText.h"

#include "widgets/TVrTrackBar.h"

#include <QImage>
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(TerminalText, ShowsWindows1251AndEscapesWhatIsNotText) {
    EXPECT_EQ(TerminalText::visible("\xD2\xCA\xCC-9214"), QStringLiteral("ТКМ-9214"));
    EXPECT_EQ(TerminalText::visible("\xA8\xB8\xB9\x88"), QStringLiteral("Ёё№€"));
    EXPECT_EQ(TerminalText::visible(std::string("A\0B\x07\r\n\x1B\x7F\x98Z", 10)),
              QStringLiteral("A\\x00B\\x07\\x0D\\x0A\\x1B\\x7F\\x98Z"));
    EXPECT_EQ(TerminalText::visible(""), QString());
}

TEST(TerminalText, LogLineKeepsItsTabAndDropsOnlyTheTerminator) {
    EXPECT_EQ(TerminalText::logLine("12\t$01M --> !01\xD2\xCA\xCC\x07\r"),
              QStringLiteral("12\t$01M --> !01ТКМ\\x07"));
    // A carriage return inside the reply, and a tab that is the terminal's, stay visible.
    EXPECT_EQ(TerminalText::logLine("3\t$01F --> !01A\rB\tC\r"),
              QStringLiteral("3\t$01F --> !01A\\x0DB\\x09C"));
}

TEST(TerminalText, TypedTextToWindows1251) {
    EXPECT_EQ(TerminalText::toWin1251(QStringLiteral("Привет")), "\xCF\xF0\xE8\xE2\xE5\xF2");
    QString left;
    EXPECT_EQ(TerminalText::toWin1251(QStringLiteral("A😀é€B😀"), &left), "A\x88"
                                                                        "B");
    EXPECT_EQ(left, QStringLiteral("😀é"));
}

class TerminalTextInWindow : public WindowFixture {
protected:
    void identify(const std::string& name) {
        ScriptedTerminal terminal;
        terminal.name = name;
        port = std::make_unique<ScriptedPort>(terminal);
        window->setTransactPort(port.get());
        window->setSleep([](int) {});
        window->Adr->SetPosition(window->Adr->Position() == 1 ? 0 : 1);
        window->Adr->SetPosition(1);
        ASSERT_TRUE(window->connection().found());
    }

    std::unique_ptr<ScriptedPort> port;
};

QImage rendered(QLabel* label) {
    QImage image(label->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    label->render(&painter);
    return image;
}

TEST_F(TerminalTextInWindow, StatusBarShowsTheNameAsPlainWindows1251Text) {
    identify("\xD2\xCA\xCC-9214");
    EXPECT_EQ(window->StBar->panelText(1), QStringLiteral("ТКМ-9214"));
    EXPECT_TRUE(window->RCVS->toPlainText().startsWith(QStringLiteral("1\t$01M --> !01ТКМ-9214\n")));

    // Markup from the terminal is drawn as the characters it is made of.
    identify("<h1>BIG</h1>");
    QLabel* panel = window->StBar->panel(1);
    QLabel plain;
    plain.setFont(panel->font());
    plain.setFrameStyle(panel->frameStyle());
    plain.setIndent(panel->indent());
    plain.setAlignment(panel->alignment());
    plain.setTextFormat(Qt::PlainText);
    plain.setText(QStringLiteral("<h1>BIG</h1>"));
    plain.resize(panel->size());
    EXPECT_EQ(rendered(panel), rendered(&plain));
}

} // namespace
