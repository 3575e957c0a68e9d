#include "app/TrafficMemoAccessible.h"

#include "app/TrafficMemo.h"

#include <algorithm>

TrafficMemoAccessible::TrafficMemoAccessible(TrafficMemo* Memo)
    : QAccessibleWidget(Memo, QAccessible::EditableText) {}

TrafficMemo* TrafficMemoAccessible::memo() const {
    return static_cast<TrafficMemo*>(widget());
}

void TrafficMemoAccessible::Follow(TrafficMemo* Memo) {
    QObject::connect(Memo, &TrafficMemo::linesAppended, Memo, [Memo](int count) {
        if (!QAccessible::isActive())
            return;
        // The lines are joined by line breaks: the added text starts with one unless it is the first.
        const QString all = Memo->toPlainText();
        QString added = all;
        if (count < Memo->lineCount()) {
            qsizetype from = all.size();
            for (int i = 0; i < count; ++i)
                from = all.lastIndexOf(QLatin1Char('\n'), from - 1);
            added = all.mid(from);
        }
        QAccessibleTextInsertEvent event(Memo, static_cast<int>(all.size() - added.size()), added);
        QAccessible::updateAccessibility(&event);
    });
    QObject::connect(Memo, &TrafficMemo::aboutToClear, Memo, [Memo] {
        if (!QAccessible::isActive() || Memo->lineCount() == 0)
            return;
        QAccessibleTextRemoveEvent event(Memo, 0, Memo->toPlainText());
        QAccessible::updateAccessibility(&event);
    });
}

void* TrafficMemoAccessible::interface_cast(QAccessible::InterfaceType Type) {
    if (Type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(Type);
}

QAccessible::State TrafficMemoAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

void TrafficMemoAccessible::selection(int, int* StartOffset, int* EndOffset) const {
    *StartOffset = *EndOffset = 0;
}

int TrafficMemoAccessible::cursorPosition() const {
    return characterCount();
}

QString TrafficMemoAccessible::text(int StartOffset, int EndOffset) const {
    const QString all = memo()->toPlainText();
    const qsizetype from = std::clamp<qsizetype>(StartOffset, 0, all.size());
    const qsizetype to = EndOffset < 0 ? all.size() : std::clamp<qsizetype>(EndOffset, from, all.size());
    return all.mid(from, to - from);
}

int TrafficMemoAccessible::characterCount() const {
    return static_cast<int>(memo()->toPlainText().size());
}

QString TrafficMemoAccessible::attributes(int, int* StartOffset, int* EndOffset) const {
    // One run of plain text.
    *StartOffset = 0;
    *EndOffset = characterCount();
    return {};
}
