#pragma once
// TEMPORARY stand-in until the widgets land.
#include <QSlider>
class TVrSwitch : public QSlider {
    Q_OBJECT
public:
    explicit TVrSwitch(QWidget* parent = nullptr) : QSlider(Qt::Vertical, parent)
    {
        connect(this, &QSlider::valueChanged, this, [this] { emit OnChange(this); });
    }
    int Offset() const { return value(); }
    void SetOffset(int v) { setValue(v); }
    void SetPositions(int n) { setRange(0, n - 1); }
signals:
    void OnChange(QObject* Sender);
};
