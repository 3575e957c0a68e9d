#include "EFloatConvertError.h"
#include "TVrNumEdit.h"
#include "VrSelectionClipboard.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A shown, active window with the numeric edit and a second box to move the focus to.
struct Form {
    QWidget window;
    TVrNumEdit* edit = new TVrNumEdit(&window);
    QLineEdit* other = new QLineEdit(&window);

    Form() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
        edit->setFocus(Qt::TabFocusReason);
    }

    void leave() { other->setFocus(Qt::TabFocusReason); }
};

// Sets the default locale for one test.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : m_saved(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

} // namespace

TEST(TVrNumEdit, TypingKeepsDigitsAndTogglesTheSign) {
    const LocaleScope c(QLocale::c());
    Form f;
    ASSERT_TRUE(f.edit->hasFocus());
    QSignalSpy changes(f.edit, &TVrNumEdit::OnChange);
    QSignalSpy presses(f.edit, &TVrNumEdit::OnKeyPress);
    QTest::keyClicks(f.edit, "12a3");
    EXPECT_EQ(f.edit->text(), "123");
    EXPECT_EQ(presses.count(), 3) << "a refused character raises no OnKeyPress";
    f.edit->setCursorPosition(1);
    QTest::keyClick(f.edit, '-');
    EXPECT_EQ(f.edit->text(), "-123");
    EXPECT_EQ(f.edit->cursorPosition(), 2) << "the caret moves one place right";
    QTest::keyClick(f.edit, '-');
    EXPECT_EQ(f.edit->text(), "123");
    EXPECT_EQ(f.edit->cursorPosition(), 1);
    EXPECT_EQ(changes.count(), 5);
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    EXPECT_EQ(f.edit->text(), "23");
    QTest::keyClick(f.edit, ' ');
    QTest::keyClick(f.edit, Qt::Key_Return);
    EXPECT_EQ(f.edit->text(), "23");
}

TEST(TVrNumEdit, DecimalSeparatorAndReformattingOnExit) {
    const LocaleScope c(QLocale::c());
    Form f;
    QTest::keyClicks(f.edit, "3.14");
    EXPECT_EQ(f.edit->text(), "314") << "Decimals 0 forbids the separator";

    f.edit->clear();
    f.edit->SetDecimals(2);
    QTest::keyClicks(f.edit, "3.14.159");
    EXPECT_EQ(f.edit->text(), "3.14159") << "a second separator is refused";
    f.leave();
    EXPECT_EQ(f.edit->text(), "3.14");

    f.edit->SetDecimals(0);
    EXPECT_EQ(f.edit->text(), "3") << "a new Decimals validates at once";
}

TEST(TVrNumEdit, SystemDecimalSeparator) {
    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    Form f;
    f.edit->SetDecimals(1);
    QTest::keyClicks(f.edit, "2.5");
    EXPECT_EQ(f.edit->text(), "25");
    f.edit->clear();
    QTest::keyClicks(f.edit, "2,55");
    EXPECT_EQ(f.edit->Value(), 2.55);
    f.leave();
    EXPECT_EQ(f.edit->text(), "2,6");
    f.edit->SetValue(0.25);
    EXPECT_EQ(f.edit->text(), "0,3");
}

TEST(TVrNumEdit, OutOfRangeKeepsTheTextAndAsksTheHandler) {
    const LocaleScope c(QLocale::c());
    Form f;
    f.edit->SetMaxValue(19);
    int errors = 0;
    bool keepFocus = false;
    QObject::connect(f.edit, &TVrNumEdit::OnError, [&](QObject* sender, bool* canExit) {
        EXPECT_EQ(sender, f.edit);
        EXPECT_TRUE(*canExit) << "CanExit starts true";
        ++errors;
        if (keepFocus)
            *canExit = false;
    });
    QTest::keyClicks(f.edit, "25");
    f.leave();
    EXPECT_EQ(f.edit->text(), "25");
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(f.other->hasFocus());

    keepFocus = true;
    f.edit->setFocus(Qt::TabFocusReason);
    f.leave();
    EXPECT_EQ(errors, 2);
    EXPECT_TRUE(f.edit->hasFocus()) << "CanExit false keeps the focus in the box";
    EXPECT_EQ(f.edit->text(), "25");

    keepFocus = false;
    f.edit->setText("-");
    f.leave();
    EXPECT_EQ(errors, 3) << "a text that is no number fails too";
}

TEST(TVrNumEdit, ChangeHandlerMayRewriteTheValue) {
    // The display page's column box: a change handler that holds the value at 19.
    const LocaleScope c(QLocale::c());
    Form f;
    f.edit->SetMaxValue(19);
    QObject::connect(f.edit, &TVrNumEdit::OnChange, [&] {
        if (f.edit->Value() > 19)
            f.edit->SetValue(19);
    });
    QTest::keyClicks(f.edit, "25");
    EXPECT_EQ(f.edit->text(), "19");
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    QTest::keyClicks(f.edit, "7");
    EXPECT_EQ(f.edit->text(), "17");
}

TEST(TVrNumEdit, EmptyBoxPassesSilently) {
    Form f;
    int errors = 0;
    QObject::connect(f.edit, &TVrNumEdit::OnError, [&](QObject*, bool*) { ++errors; });
    QSignalSpy changes(f.edit, &TVrNumEdit::OnChange);
    f.leave();
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(f.edit->text(), "");
}

TEST(TVrNumEdit, ValueReadAndWrite) {
    const LocaleScope c(QLocale::c());
    TVrNumEdit e;
    e.SetMinValue(-5);
    EXPECT_EQ(e.Value(), -5) << "an empty box reads MinValue";
    e.SetValue(7);
    EXPECT_EQ(e.text(), "7");
    EXPECT_EQ(e.Value(), 7);
    e.SetDecimals(2);
    e.SetValue(2.5);
    EXPECT_EQ(e.text(), "2.50");
    e.setText("-");
    try {
        (void)e.Value();
        FAIL() << "no conversion error";
    } catch (const EFloatConvertError& error) {
        EXPECT_STREQ(error.what(), "'-' is not a valid floating point value");
        EXPECT_EQ(error.Text(), "-");
    }
}

TEST(TVrNumEdit, RangeLimitsRefuseCrossing) {
    TVrNumEdit e;
    e.SetMaxValue(-1);
    EXPECT_EQ(e.MaxValue(), 9999) << "not above MinValue 0";
    e.SetMaxValue(0);
    EXPECT_EQ(e.MaxValue(), 9999);
    e.SetMinValue(10000);
    EXPECT_EQ(e.MinValue(), 0);
    e.SetMaxValue(19);
    e.SetMinValue(3);
    EXPECT_EQ(e.MaxValue(), 19);
    EXPECT_EQ(e.MinValue(), 3);

    int errors = 0;
    QObject::connect(&e, &TVrNumEdit::OnError, [&](QObject*, bool*) { ++errors; });
    e.setText("2");
    e.SetMaxValue(20);
    EXPECT_EQ(errors, 1) << "a new limit validates the text";
}

TEST(TVrNumEdit, EscapeRestoresTheTextOfEntry) {
    const LocaleScope c(QLocale::c());
    Form f;
    f.leave();
    f.edit->setText("12");
    f.edit->SetRestoreOnEsc(true);
    f.edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.edit->selectedText(), "12") << "AutoSelect on entry by Tab";
    f.edit->end(false);
    QTest::keyClicks(f.edit, "34");
    EXPECT_EQ(f.edit->text(), "1234");
    QTest::keyClick(f.edit, Qt::Key_Escape);
    EXPECT_EQ(f.edit->text(), "12");

    f.edit->SetRestoreOnEsc(false);
    QTest::keyClicks(f.edit, "5");
    QTest::keyClick(f.edit, Qt::Key_Escape);
    EXPECT_EQ(f.edit->text(), "125");
}

// Every road by which the user can bring text in other than typing.
struct PasteRoute {
    const char* name;
    std::function<void(TVrNumEdit*, const QString&)> paste;
};

const PasteRoute kPasteRoutes[] = {
    {"Ctrl+V",
     [](TVrNumEdit* e, const QString& text) {
         QApplication::clipboard()->setText(text);
         QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
     }},
    {"Shift+Insert",
     [](TVrNumEdit* e, const QString& text) {
         QApplication::clipboard()->setText(text);
         QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
     }},
    {"context menu Paste",
     [](TVrNumEdit* e, const QString& text) {
         QApplication::clipboard()->setText(text);
         const std::unique_ptr<QMenu> menu(e->ContextMenu());
         QAction* paste = nullptr;
         for (QAction* a : menu->actions())
             if (a->text().startsWith("&Paste"))
                 paste = a;
         if (!paste) {
             EXPECT_TRUE(e->isReadOnly()) << "a box that takes text offers Paste";
             return;
         }
         paste->trigger();
     }},
    {"middle click on the selection",
     [](TVrNumEdit* e, const QString& text) {
         const VrSelectionSource previous = VrSetSelectionSource([text] { return text; });
         QTest::mouseClick(e, Qt::MiddleButton, {}, QPoint(e->width() - 2, e->height() / 2));
         VrSetSelectionSource(previous);
     }},
    {"drop",
     [](TVrNumEdit* e, const QString& text) {
         QMimeData data;
         data.setText(text);
         const QPointF at(e->width() - 2, e->height() / 2);
         QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(e, &enter);
         QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(e, &move);
         QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(e, &drop);
         EXPECT_EQ(drop.isAccepted(), !e->isReadOnly());
     }},
    {"input method commit",
     [](TVrNumEdit* e, const QString& text) {
         QInputMethodEvent commit;
         commit.setCommitString(text);
         QApplication::sendEvent(e, &commit);
     }},
};

TEST(TVrNumEdit, EveryPasteRouteKeepsOnlyWhatTypingWould) {
    const LocaleScope c(QLocale::c());
    for (const PasteRoute& route : kPasteRoutes) {
        Form f;
        f.edit->SetDecimals(2);
        QSignalSpy changes(f.edit, &TVrNumEdit::OnChange);
        route.paste(f.edit, "3abc");
        EXPECT_EQ(f.edit->text(), "3") << route.name;
        EXPECT_EQ(f.edit->Value(), 3) << route.name;
        EXPECT_EQ(changes.count(), 1) << route.name;

        route.paste(f.edit, "xyz");
        EXPECT_EQ(f.edit->text(), "3") << route.name << ": nothing let in, nothing changed";
        route.paste(f.edit, ".14xyz");
        EXPECT_EQ(f.edit->text(), "3.14") << route.name;
        EXPECT_EQ(f.edit->Value(), 3.14) << route.name;
        route.paste(f.edit, "-");
        EXPECT_EQ(f.edit->text(), "-3.14") << route.name << ": the sign toggles as typed";
    }
}

TEST(TVrNumEdit, PastedLettersNeverReachAChangeHandler) {
    // The display page reads Value in OnChange: it must never see a text that is no number.
    const LocaleScope c(QLocale::c());
    for (const PasteRoute& route : kPasteRoutes) {
        Form f;
        QStringList seen;
        QObject::connect(f.edit, &TVrNumEdit::OnChange, [&] {
            seen << f.edit->text();
            (void)f.edit->Value();
        });
        route.paste(f.edit, "1x2y");
        EXPECT_EQ(seen, QStringList{"12"}) << route.name;
    }
}

TEST(TVrNumEdit, AReadOnlyBoxTakesNoPasteAndTheProgramSetsAnyText) {
    Form f;
    f.edit->setReadOnly(true);
    for (const PasteRoute& route : kPasteRoutes) {
        route.paste(f.edit, "42");
        EXPECT_EQ(f.edit->text(), "") << route.name;
        f.edit->clear();
    }
    f.edit->SetText("3abc");
    EXPECT_EQ(f.edit->text(), "3abc") << "SetText from the program is taken as it is";
}

TEST(TVrNumEdit, UndoTakesAPasteBackInOneStep) {
    const LocaleScope c(QLocale::c());
    Form f;
    QTest::keyClicks(f.edit, "12");
    QApplication::clipboard()->setText("-3x");
    QTest::keyClick(f.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.edit->text(), "-123");
    f.edit->undo();
    EXPECT_EQ(f.edit->text(), "12");
}

TEST(TVrNumEdit, LooksAndAlignment) {
    TVrNumEdit e;
    EXPECT_EQ(e.palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(e.palette().color(QPalette::Text), QColor(Qt::green));
    EXPECT_EQ(e.Alignment(), taLeftJustify);
    e.SetAlignment(taRightJustify);
    EXPECT_TRUE(e.alignment() & Qt::AlignRight);
    e.SetAlignment(taCenter);
    EXPECT_TRUE(e.alignment() & Qt::AlignHCenter);
}
