#pragma once

#include <QAccessibleWidget>

class TrafficMemo;

// The traffic log as assistive technology sees it: read-only multi-line text, one line per exchange,
// which a screen reader reads by character, word or line. Built on the memo's public lines, not its
// drawing. The caret rests at the end, on the newest exchange; selections stay the mouse's.
// User-interface thread only.
class TrafficMemoAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TrafficMemoAccessible(TrafficMemo* Memo);

    // Tells assistive technology of every line the memo adds and of its clearing, for as long as it
    // lives. Called once for the memo, whether an interface exists yet or not.
    static void Follow(TrafficMemo* Memo);

    void* interface_cast(QAccessible::InterfaceType Type) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int SelectionIndex, int* StartOffset, int* EndOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override;
    void setCursorPosition(int) override {}
    QString text(int StartOffset, int EndOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int Offset, int* StartOffset, int* EndOffset) const override;

    // Keep QAccessibleWidget's text(QAccessible::Text) visible beside the interface's text(int, int).
    using QAccessibleWidget::text;

private:
    TrafficMemo* memo() const;
};
