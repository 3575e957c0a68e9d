#pragma once

#include <QAccessibleWidget>

class TVrPowerButton;

// A power button as assistive technology sees it: a toggle button named by its caption, checked while
// Active; pressing or toggling it is a completed press.
class VrAccessiblePowerButton : public QAccessibleWidget {
public:
    explicit VrAccessiblePowerButton(TVrPowerButton* Button);

    QString text(QAccessible::Text Text) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& ActionName) override;

private:
    TVrPowerButton* button() const;
};
