#include "TVrNumEdit.h"

#include "EFloatConvertError.h"

#include <QLocale>

TVrNumEdit::TVrNumEdit(QWidget* parent) : TVrCustomEdit(parent) {}

QChar TVrNumEdit::DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

void TVrNumEdit::SetMinValue(double Value) {
    if (Value == m_minValue || !(Value < m_maxValue))
        return;
    m_minValue = Value;
    Validate();
}

void TVrNumEdit::SetMaxValue(double Value) {
    if (Value == m_maxValue || !(Value > m_minValue))
        return;
    m_maxValue = Value;
    Validate();
}

void TVrNumEdit::SetDecimals(int Value) {
    if (Value == m_decimals || Value < 0 || Value > 18)
        return;
    m_decimals = Value;
    Validate();
}

double TVrNumEdit::Value() const {
    if (text().isEmpty())
        return m_minValue;
    const std::optional<double> value = vrParseFloat(text(), DecimalSeparator());
    if (!value)
        throw EFloatConvertError(text());
    return *value;
}

void TVrNumEdit::SetValue(double Value) {
    setText(vrFormatGeneral(Value, DecimalSeparator()));
    Validate();
}

void TVrNumEdit::Validate() {
    if (text().trimmed().isEmpty())
        return;
    const QChar separator = DecimalSeparator();
    const std::optional<double> value = vrParseFloat(text(), separator);
    if (!value || *value < m_minValue || *value > m_maxValue) {
        bool canExit = true;
        emit OnError(this, &canExit);
        if (!canExit)
            setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString formatted = vrFormatFixed(*value, m_decimals, separator);
    if (formatted != text())
        setText(formatted);
}

VrNumEditKeyContext TVrNumEdit::KeyContext() const {
    VrNumEditKeyContext context;
    context.text = text();
    context.caret = cursorPosition();
    context.decimals = m_decimals;
    context.separator = DecimalSeparator();
    context.restoreOnEsc = m_restoreOnEsc;
    context.savedText = m_savedText;
    return context;
}

bool TVrNumEdit::KeyPress(QChar Key) {
    const VrNumEditKeyAction action = vrNumEditFilterKey(Key, KeyContext());
    switch (action.kind) {
    case VrNumEditKeyAction::Pass:
        return true;
    case VrNumEditKeyAction::Replace:
        setText(action.text);
        setCursorPosition(action.caret);
        return false;
    case VrNumEditKeyAction::Consume:
        break;
    }
    return false;
}

void TVrNumEdit::InsertText(const QString& Text) {
    const QString before = text();
    const VrNumEditInsertion after =
        vrNumEditFilterInsertion(Text, KeyContext(), selectionStart(), selectionLength());
    if (after.text == before)
        return;
    // One edit replacing only what changed, so OnChange fires once and Undo takes it back in one step.
    int head = 0;
    while (head < before.size() && head < after.text.size() && before[head] == after.text[head])
        ++head;
    int tail = 0;
    while (tail < before.size() - head && tail < after.text.size() - head &&
           before[before.size() - 1 - tail] == after.text[after.text.size() - 1 - tail])
        ++tail;
    const int replaced = int(before.size()) - head - tail;
    if (replaced > 0) {
        setSelection(head, replaced);
    } else {
        deselect();
        setCursorPosition(head);
    }
    TVrCustomEdit::InsertText(after.text.mid(head, after.text.size() - head - tail));
    setCursorPosition(after.caret);
}

void TVrNumEdit::FocusEntered(Qt::FocusReason Reason) {
    TVrCustomEdit::FocusEntered(Reason);
    m_savedText = text();
}

void TVrNumEdit::FocusLeft(Qt::FocusReason Reason) {
    TVrCustomEdit::FocusLeft(Reason);
    Validate();
}
