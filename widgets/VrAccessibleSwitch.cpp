#include "VrAccessibleSwitch.h"

#include "TVrSwitch.h"
#include "VrStateTexts.h"

VrAccessibleSwitch::VrAccessibleSwitch(TVrSwitch* Switch)
    : QAccessibleWidget(Switch, QAccessible::CheckBox) {}

TVrSwitch* VrAccessibleSwitch::control() const {
    return static_cast<TVrSwitch*>(widget());
}

QString VrAccessibleSwitch::text(QAccessible::Text Text) const {
    if (Text == QAccessible::Value) {
        const QString meaning = VrStateTexts::Text(control(), control()->Offset());
        return meaning.isEmpty() ? QString::number(control()->Offset()) : meaning;
    }
    return QAccessibleWidget::text(Text);
}

QAccessible::State VrAccessibleSwitch::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = control()->Offset() != 0;
    return state;
}

QStringList VrAccessibleSwitch::actionNames() const {
    return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
}

void VrAccessibleSwitch::doAction(const QString& ActionName) {
    if (ActionName != toggleAction()) {
        QAccessibleWidget::doAction(ActionName);
        return;
    }
    if (control()->isEnabled())
        control()->SetOffset(control()->Offset() + 1 < control()->Positions() ? control()->Offset() + 1 : 0);
}
