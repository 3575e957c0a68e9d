#pragma once
// TEMPORARY stand-in until the widgets land.
#include <QColor>
#include <QWidget>
class TVrUserLed : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    bool Active() const { return active_; }
    void SetActive(bool v) { if (v != active_) { active_ = v; update(); } }
    void SetLow(const QColor& c) { low_ = c; }
    void SetHigh(const QColor& c) { high_ = c; }
protected:
    void paintEvent(QPaintEvent*) override;
private:
    bool active_ = false;
    QColor low_, high_;
};
