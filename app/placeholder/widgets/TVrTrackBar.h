#pragma once
// TEMPORARY stand-in until the widgets land.
#include <QSlider>
class TVrTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TVrTrackBar(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent)
    {
        setRange(0, 100);
        connect(this, &QSlider::valueChanged, this, [this] { emit OnChange(this); });
    }
    int Position() const { return value(); }
    void SetPosition(int v) { setValue(v); }
    void SetMinValue(int v) { setMinimum(v); }
    void SetMaxValue(int v) { setMaximum(v); }
signals:
    void OnChange(QObject* Sender);
};
