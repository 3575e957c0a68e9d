#include "VrAccessibleTrackBar.h"

#include "TVrTrackBar.h"

VrAccessibleTrackBar::VrAccessibleTrackBar(TVrTrackBar* Bar) : QAccessibleWidget(Bar, QAccessible::Slider) {}

TVrTrackBar* VrAccessibleTrackBar::bar() const {
    return static_cast<TVrTrackBar*>(widget());
}

void* VrAccessibleTrackBar::interface_cast(QAccessible::InterfaceType Type) {
    if (Type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(Type);
}

QString VrAccessibleTrackBar::text(QAccessible::Text Text) const {
    if (Text == QAccessible::Value)
        return QString::number(bar()->Position());
    return QAccessibleWidget::text(Text);
}

QStringList VrAccessibleTrackBar::actionNames() const {
    return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
}

void VrAccessibleTrackBar::doAction(const QString& ActionName) {
    if (ActionName == increaseAction())
        bar()->SetPosition(bar()->Position() + 1);
    else if (ActionName == decreaseAction())
        bar()->SetPosition(bar()->Position() - 1);
    else
        QAccessibleWidget::doAction(ActionName);
}

QVariant VrAccessibleTrackBar::currentValue() const {
    return bar()->Position();
}

void VrAccessibleTrackBar::setCurrentValue(const QVariant& Value) {
    bar()->SetPosition(Value.toInt());
}

QVariant VrAccessibleTrackBar::maximumValue() const {
    return bar()->MaxValue();
}

QVariant VrAccessibleTrackBar::minimumValue() const {
    return bar()->MinValue();
}

QVariant VrAccessibleTrackBar::minimumStepSize() const {
    return 1;
}
