#include "TVrNumEdit.h"

#include "EFloatConvertError.h"
#include "VrNumberText.h"

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

bool TVrNumEdit::KeyPress(QChar Key) {
    VrNumEditKeyContext context;
    context.text = text();
    context.caret = cursorPosition();
    context.decimals = m_decimals;
    context.separator = DecimalSeparator();
    context.restoreOnEsc = m_restoreOnEsc;
    context.savedText = m_savedText;
    const VrNumEditKeyAction action = vrNumEditFilterKey(Key, context);
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

void TVrNumEdit::FocusEntered(Qt::FocusReason Reason) {
    TVrCustomEdit::FocusEntered(Reason);
    m_savedText = text();
}

void TVrNumEdit::FocusLeft(Qt::FocusReason Reason) {
    TVrCustomEdit::FocusLeft(Reason);
    Validate();
}
