// The main window as a screen reader hears it, through QAccessible in process: every control's role,
// name and value, and the traffic log's text.
#include "MainWindowFixture.h"

#include "app/AccessibleFactory.h"
#include "app/TrafficMemo.h"

#include "tests/support/AccessibilityRecorder.h"

#include <QAccessible>
#include <QApplication>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

class AccessibleWindow : public MainWindow {
protected:
    AccessibilityRecorder recorder{&AccessibleFactory::Create};

    QAccessibleInterface* of(const char* name) const {
        QObject* object = window->findChild<QObject*>(QString::fromLatin1(name));
        return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
    }
};

TEST_F(AccessibleWindow, EveryControlHasItsRoleAndTheNameOfWhatStandsBesideIt) {
    const struct {
        const char* control;
        QAccessible::Role role;
        const char* name;
        const char* value; // nullptr: not looked at
    } cases[] = {

        {"BOP", QAccessible::Button, "Open port", nullptr},
        {"CSE", QAccessible::Button, "CheckSum", nullptr},
        {"led", QAccessible::Indicator, "Connection activity", "Idle"},
        {"Adr", QAccessible::Slider, "ADDRESS", "0"},
        {"AdrInc", QAccessible::Button, "ADDRESS up", nullptr},
        {"RCVS", QAccessible::EditableText, "Traffic log", nullptr},
        {"Led1", QAccessible::CheckBox, "L1", nullptr},
        {"CX", QAccessible::EditableText, "X", nullptr},
        {"Edit1", QAccessible::EditableText, "Display text", nullptr},
        {"Fix", QAccessible::Button, "Fix", nullptr},
        {"DIO7", QAccessible::CheckBox, "DIO7", nullptr},
        {"DDIO7", QAccessible::CheckBox, "Line 7 direction", "IN"},
        {"PON3", QAccessible::CheckBox, "PON3", nullptr},
        {"US8", QAccessible::Table, "Symbol editor", nullptr},
        {"US2", QAccessible::Table, "Symbol 2", nullptr},
        {"USCode", QAccessible::EditableText, "Symbol code", nullptr},
        {"AdrNew", QAccessible::Slider, "NEW ADDRESS", "1"},
        {"Stat_dev", QAccessible::Indicator, "Status WDT", "Green - normal status"},
        {"WDTT", QAccessible::Slider, "Period WDT", "30"},
        {"DIS_RESWDT", QAccessible::Button, "DISABLE RESET WDT", nullptr},
        {"VrWebLabel3", QAccessible::Link, "Technical Support", "https://tkm.test/tkm9214/support/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        QAccessibleInterface* a = of(c.control);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), c.role);
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromLatin1(c.name));
        if (c.value) {
            EXPECT_EQ(a->text(QAccessible::Value), QString::fromLatin1(c.value));
        }
    }

    // A combo box's name is its choice where screen readers take the label from the box's relations
    // (Qt on Linux): its label is a buddy, or, where none stands beside it, its description.
    const struct {
        const char* box;
        const char* label;
    } boxes[] = {{"nrDeviceBox1", "Port"},
                 {"BR", "Baud rate"},
                 {"BRNew", "BAUD RATE"},
                 {"CodePage", "CODE PAGE"},
                 {"CheckSum", "CHECKSUM"}};
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.box);
        QAccessibleInterface* a = of(b.box);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::ComboBox);
        QStringList labels;
        for (const auto& [label, relation] : a->relations(QAccessible::Label))
            labels << label->text(QAccessible::Name);
        labels << a->text(QAccessible::Description);
        EXPECT_TRUE(labels.contains(QString::fromLatin1(b.label))) << labels.join(u'|').toStdString();
    }

    // Nothing the keyboard reaches is nameless.
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!(control->focusPolicy() & Qt::TabFocus) || control->focusProxy())
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << control->objectName().toStdString();
    }
}

TEST_F(AccessibleWindow, TheTrafficLogIsTextAScreenReaderReadsAndHearsGrow) {
    TrafficMemo* log = window->RCVS;
    recorder.clear();
    log->appendLines({QStringLiteral("1\t$01M --> !01TKM-9214"), QStringLiteral("2\t$01F --> !011.02")});
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(log);
    QAccessibleTextInterface* text = a->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(a->state().readOnly);
    EXPECT_TRUE(a->state().multiLine);
    EXPECT_EQ(text->text(0, text->characterCount()), log->toPlainText());
    EXPECT_EQ(text->cursorPosition(), text->characterCount()) << "the caret on the newest exchange";
    int start = -1;
    int end = -1;
    EXPECT_EQ(text->textAtOffset(25, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("2\t$01F --> !011.02"));
    EXPECT_EQ(start, 23);

    auto inserted = recorder.take(QAccessible::TextInserted);
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0].position, 0);
    EXPECT_EQ(inserted[0].text, log->toPlainText());
    log->appendLines({QStringLiteral("3\t$01D --> !01F0")});
    inserted = recorder.take(QAccessible::TextInserted);
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0].position, 41);
    EXPECT_EQ(inserted[0].text, QStringLiteral("\n3\t$01D --> !01F0"));

    const QString all = log->toPlainText();
    log->clear();
    const auto removed = recorder.take(QAccessible::TextRemoved);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0].text, all);
    EXPECT_EQ(text->characterCount(), 0);
}

} // namespace
