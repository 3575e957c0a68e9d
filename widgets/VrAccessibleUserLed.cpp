#include "VrAccessibleUserLed.h"

#include "TVrUserLed.h"
#include "VrStateTexts.h"

VrAccessibleUserLed::VrAccessibleUserLed(TVrUserLed* Led) : QAccessibleWidget(Led, QAccessible::Indicator) {}

TVrUserLed* VrAccessibleUserLed::led() const {
    return static_cast<TVrUserLed*>(widget());
}

QAccessible::Role VrAccessibleUserLed::role() const {
    return led()->focusPolicy() == Qt::NoFocus ? QAccessible::Indicator : QAccessible::CheckBox;
}

QString VrAccessibleUserLed::text(QAccessible::Text Text) const {
    if (Text == QAccessible::Value)
        return VrStateTexts::Text(led(), led()->Active() ? 1 : 0);
    return QAccessibleWidget::text(Text);
}

QAccessible::State VrAccessibleUserLed::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = led()->Active();
    return state;
}
