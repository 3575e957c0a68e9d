#pragma once

#include <QAccessibleWidget>

class TVrWebLabel;

// A web label as assistive technology sees it: a link named by its caption, whose value is its URL;
// pressing it follows the link.
class VrAccessibleWebLabel : public QAccessibleWidget {
public:
    explicit VrAccessibleWebLabel(TVrWebLabel* Label);

    QString text(QAccessible::Text Text) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& ActionName) override;

private:
    TVrWebLabel* label() const;
};
