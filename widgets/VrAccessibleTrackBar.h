#pragma once

#include <QAccessibleWidget>

class TVrTrackBar;

// A track bar as assistive technology sees it: a slider with its Position as value between MinValue
// and MaxValue, set and stepped as the keys do. Named by the application (its group's caption).
class VrAccessibleTrackBar : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit VrAccessibleTrackBar(TVrTrackBar* Bar);

    void* interface_cast(QAccessible::InterfaceType Type) override;
    QString text(QAccessible::Text Text) const override;
    QStringList actionNames() const override;
    void doAction(const QString& ActionName) override;

    // QAccessibleValueInterface
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& Value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    TVrTrackBar* bar() const;
};
