#include "VrAccessiblePowerButton.h"

#include "TVrPowerButton.h"

namespace {

// The caption as read: an accelerator's ampersand is no letter of it ("&&" is one ampersand).
QString WithoutAccelerator(const QString& caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

} // namespace

VrAccessiblePowerButton::VrAccessiblePowerButton(TVrPowerButton* Button)
    : QAccessibleWidget(Button, QAccessible::Button) {}

TVrPowerButton* VrAccessiblePowerButton::button() const {
    return static_cast<TVrPowerButton*>(widget());
}

QString VrAccessiblePowerButton::text(QAccessible::Text Text) const {
    if (Text == QAccessible::Name && button()->accessibleName().isEmpty())
        return WithoutAccelerator(button()->Caption());
    return QAccessibleWidget::text(Text);
}

QAccessible::State VrAccessiblePowerButton::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = button()->Active();
    state.pressed = button()->Down();
    return state;
}

QStringList VrAccessiblePowerButton::actionNames() const {
    return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
}

void VrAccessiblePowerButton::doAction(const QString& ActionName) {
    if (ActionName == pressAction() || ActionName == toggleAction()) {
        if (button()->isEnabled())
            button()->Toggle();
        return;
    }
    QAccessibleWidget::doAction(ActionName);
}
