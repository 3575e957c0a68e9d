// The widgets as assistive technology sees them, through QAccessible in process: roles, names, states,
// values, actions, and the events their visible changes raise.
#include "TVrPowerButton.h"
#include "TVrRaster.h"
#include "TVrRasterLed.h"
#include "TVrSwitch.h"
#include "TVrTrackBar.h"
#include "TVrUserLed.h"
#include "TVrWebLabel.h"
#include "VrAccessibleFactory.h"
#include "VrShellOpen.h"
#include "VrStateTexts.h"

#include "tests/support/AccessibilityRecorder.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QAccessibleInterface* Factory(const QString& key, QObject* object) {
    return VrAccessibleInterface(key, object);
}

class VrAccessible : public ::testing::Test {
protected:
    AccessibilityRecorder recorder{&Factory};
    QWidget window;

    static QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
};

TEST_F(VrAccessible, PowerButtonIsAToggleButtonNamedByItsCaption) {
    auto* button = new TVrPowerButton(&window);
    button->SetCaption(QStringLiteral("&Open port"));
    QAccessibleInterface* a = Of(button);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Open port"));
    EXPECT_TRUE(a->state().checkable);
    EXPECT_FALSE(a->state().checked);

    button->SetActive(true);
    EXPECT_TRUE(a->state().checked);
    const auto changes = recorder.take(QAccessible::StateChanged);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].target, a);
    EXPECT_TRUE(changes[0].changed.checked);

    QSignalSpy clicks(button, &TVrPowerButton::OnClick);
    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(button->Active()) << "toggled as by a completed press";
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(recorder.take(QAccessible::StateChanged).size(), 1);

    button->SetCaption(QStringLiteral("Close port"));
    EXPECT_EQ(recorder.take(QAccessible::NameChanged).size(), 1);
}

TEST_F(VrAccessible, AnLedTheKeyboardReachesIsACheckBoxAnyOtherAnIndicatorSayingWhatItsColourMeans) {
    auto* toggle = new TVrUserLed(&window);
    toggle->setFocusPolicy(Qt::TabFocus);
    toggle->setAccessibleName(QStringLiteral("L1"));
    auto* lamp = new TVrUserLed(&window);
    lamp->setAccessibleName(QStringLiteral("Status WDT"));
    VrStateTexts::Set(lamp, {QStringLiteral("Green - normal status"), QStringLiteral("Red - alarm status")});

    QAccessibleInterface* t = Of(toggle);
    EXPECT_EQ(t->role(), QAccessible::CheckBox);
    EXPECT_EQ(t->text(QAccessible::Name), QStringLiteral("L1"));
    EXPECT_TRUE(t->state().focusable);
    QAccessibleInterface* l = Of(lamp);
    EXPECT_EQ(l->role(), QAccessible::Indicator);
    EXPECT_EQ(l->text(QAccessible::Value), QStringLiteral("Green - normal status"));

    lamp->SetActive(true);
    EXPECT_TRUE(l->state().checked);
    EXPECT_EQ(l->text(QAccessible::Value), QStringLiteral("Red - alarm status"));
    const auto changes = recorder.take(QAccessible::StateChanged);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].target, l);
    lamp->SetActive(true);
    EXPECT_TRUE(recorder.take(QAccessible::StateChanged).isEmpty()) << "no change, no event";
}

TEST_F(VrAccessible, TrackBarIsASliderWithItsRangeAndPosition) {
    auto* bar = new TVrTrackBar(&window);
    bar->SetMaxValue(255);
    bar->setAccessibleName(QStringLiteral("ADDRESS"));
    QAccessibleInterface* a = Of(bar);
    EXPECT_EQ(a->role(), QAccessible::Slider);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("ADDRESS"));
    QAccessibleValueInterface* value = a->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 255);

    bar->SetPosition(10);
    EXPECT_EQ(value->currentValue().toInt(), 10);
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("10"));
    auto changes = recorder.take(QAccessible::ValueChanged);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].value.toInt(), 10);

    QSignalSpy moves(bar, &TVrTrackBar::OnChange);
    value->setCurrentValue(300);
    EXPECT_EQ(bar->Position(), 255) << "set through the clamping setter";
    a->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(bar->Position(), 254);
    EXPECT_EQ(moves.count(), 2);
}

TEST_F(VrAccessible, SwitchIsACheckBoxWhoseValueIsWhatItsStopMeans) {
    auto* line = new TVrSwitch(&window);
    line->SetPositions(2);
    line->setAccessibleName(QStringLiteral("Line 0 direction"));
    VrStateTexts::Set(line, {QStringLiteral("IN"), QStringLiteral("OUT")});
    QAccessibleInterface* a = Of(line);
    EXPECT_EQ(a->role(), QAccessible::CheckBox);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Line 0 direction"));
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("IN"));
    EXPECT_FALSE(a->state().checked);

    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(line->Offset(), 1);
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("OUT"));
    EXPECT_TRUE(a->state().checked);
    EXPECT_EQ(recorder.take(QAccessible::StateChanged).size(), 1);
    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(line->Offset(), 0) << "from the last stop back to the first";
}

TEST_F(VrAccessible, RasterIsATableOfDotsWhoseKeyboardCellHasTheFocus) {
    auto* editor = new TVrRaster(&window);
    editor->resize(129, 204);
    editor->SetRows(8);
    editor->setFocusPolicy(Qt::TabFocus);
    editor->setAccessibleName(QStringLiteral("Symbol editor"));
    QAccessibleInterface* a = Of(editor);
    EXPECT_EQ(a->role(), QAccessible::Table);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Symbol editor"));
    QAccessibleTableInterface* table = a->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 8);
    EXPECT_EQ(table->columnCount(), 5);
    EXPECT_EQ(a->childCount(), 40);
    EXPECT_EQ(table->cellAt(8, 0), nullptr);

    QAccessibleInterface* cell = table->cellAt(1, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell, a->child(7));
    EXPECT_EQ(a->indexOfChild(cell), 7);
    EXPECT_EQ(cell->parent(), a);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("Row 2, column 3"));
    EXPECT_FALSE(cell->state().checked);
    ASSERT_NE(cell->tableCellInterface(), nullptr);
    EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 1);
    EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 2);

    editor->Items(7)->SetActive(true);
    EXPECT_TRUE(cell->state().checked);
    EXPECT_EQ(cell->text(QAccessible::Value), QStringLiteral("on"));
    auto changes = recorder.take(QAccessible::StateChanged);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].target, cell);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    editor->setFocus();
    recorder.clear();
    QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(a->focusChild(), cell);
    EXPECT_TRUE(cell->state().focused);
    const auto moves = recorder.take(QAccessible::Focus);
    ASSERT_EQ(moves.size(), 3);
    EXPECT_EQ(moves.back().target, cell);
}

TEST_F(VrAccessible, WebLabelIsALinkThatPressingFollows) {
    QStringList opened;
    const VrShellOpenHandler previous = VrSetShellOpenHandler([&](const QString& address) {
        opened << address;
        return true;
    });
    auto* link = new TVrWebLabel(&window);
    link->SetCaption(QStringLiteral("Technical Support"));
    link->SetURL(QStringLiteral("https://example.com/support/"));
    QAccessibleInterface* a = Of(link);
    EXPECT_EQ(a->role(), QAccessible::Link);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Technical Support"));
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("https://example.com/support/"));
    EXPECT_TRUE(a->state().linked);
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://example.com/support/")});
    VrSetShellOpenHandler(previous);
}

} // namespace
