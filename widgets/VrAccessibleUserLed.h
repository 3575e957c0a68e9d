#pragma once

#include <QAccessibleWidget>

class TVrUserLed;

// An LED as assistive technology sees it. One the application lets the keyboard reach is a control
// the user switches: a check box, checked while lit. Any other only shows a state: an indicator,
// whose value says what its colour means (VrStateTexts), checked while lit too. Named by the
// application (what stands beside it).
class VrAccessibleUserLed : public QAccessibleWidget {
public:
    explicit VrAccessibleUserLed(TVrUserLed* Led);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text Text) const override;
    QAccessible::State state() const override;

private:
    TVrUserLed* led() const;
};
