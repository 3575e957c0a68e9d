#pragma once
// TEMPORARY stand-in until the widgets land.
#include <QLineEdit>
class TVrNumEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    void SetMaxValue(double) {}
};
