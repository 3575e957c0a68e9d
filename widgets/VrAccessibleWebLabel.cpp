#include "VrAccessibleWebLabel.h"

#include "TVrWebLabel.h"

VrAccessibleWebLabel::VrAccessibleWebLabel(TVrWebLabel* Label)
    : QAccessibleWidget(Label, QAccessible::Link) {}

TVrWebLabel* VrAccessibleWebLabel::label() const {
    return static_cast<TVrWebLabel*>(widget());
}

QString VrAccessibleWebLabel::text(QAccessible::Text Text) const {
    if (Text == QAccessible::Name && label()->accessibleName().isEmpty())
        return label()->Caption();
    if (Text == QAccessible::Value)
        return label()->URL();
    return QAccessibleWidget::text(Text);
}

QAccessible::State VrAccessibleWebLabel::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
}

QStringList VrAccessibleWebLabel::actionNames() const {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void VrAccessibleWebLabel::doAction(const QString& ActionName) {
    if (ActionName == pressAction()) {
        if (label()->isEnabled())
            label()->Follow();
        return;
    }
    QAccessibleWidget::doAction(ActionName);
}
