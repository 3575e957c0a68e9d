#pragma once

#include <QAccessibleWidget>

class TVrSwitch;

// A switch as assistive technology sees it: a check box, checked while off its first stop, whose
// value is what its stop means (VrStateTexts: "IN", "OUT"), else the stop's number. Toggling moves it
// to the next stop, as Space does. Named by the application.
class VrAccessibleSwitch : public QAccessibleWidget {
public:
    explicit VrAccessibleSwitch(TVrSwitch* Switch);

    QString text(QAccessible::Text Text) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& ActionName) override;

private:
    TVrSwitch* control() const;
};
