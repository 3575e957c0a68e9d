#pragma once
// TEMPORARY stand-in until the widgets land.
#include <QColor>
#include <QWidget>
#include <vector>
class TVrRaster : public QWidget {
    Q_OBJECT
public:
    struct Item {
        bool active = false;
        bool Active() const { return active; }
        void SetActive(bool v) { active = v; }
    };
    using QWidget::QWidget;
    void SetColumns(int c) { columns_ = c; items_.assign(static_cast<size_t>(columns_ * rows_), {}); }
    void SetRows(int r) { rows_ = r; items_.assign(static_cast<size_t>(columns_ * rows_), {}); }
    void SetSpacing(int) {}
    void SetLow(const QColor&) {}
    void SetHigh(const QColor&) {}
    int Count() const { return static_cast<int>(items_.size()); }
    Item* Items(int i) { return &items_[static_cast<size_t>(i)]; }
private:
    int columns_ = 5, rows_ = 5;
    std::vector<Item> items_ = std::vector<Item>(25);
};
