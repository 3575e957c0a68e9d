#pragma once
// TEMPORARY stand-in until the widgets land.
#include <QPushButton>
class TVrPowerButton : public QPushButton {
    Q_OBJECT
public:
    explicit TVrPowerButton(QWidget* parent = nullptr) : QPushButton(parent)
    {
        setCheckable(true);
        connect(this, &QPushButton::clicked, this, [this] { emit OnClick(this); });
    }
    bool Active() const { return isChecked(); }
    void SetActive(bool v) { setChecked(v); }
    QString Caption() const { return text(); }
    void SetCaption(const QString& c) { setText(c); }
signals:
    void OnClick(QObject* Sender);
};
