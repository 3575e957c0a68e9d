#pragma once

#include <QPointer>
#include <QRect>
#include <QScrollBar>

// A scroll bar that repaints only when and where what it shows changes. The traffic log grows by a
// line every exchange, and each line moves the handle by less than a pixel once the log is long; a
// plain scroll bar repaints itself (and, being transparent, its parents behind it) for every such
// move, which was a good part of a polling window's work. Changes are looked at once the event loop
// is back, so that a range change and the value change that follows it count as one; an owner that
// makes both itself holds the bar meanwhile, and the changes are looked at when the hold ends, without
// a trip through the event loop. User-interface thread only.
class QuietScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit QuietScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Holds a quiet bar (any other bar is left alone) while it lives.
    class Hold {
    public:
        explicit Hold(QScrollBar* bar);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        QPointer<QuietScrollBar> bar_;
    };

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What a repaint would show differently: the handle's place and size, and which ends are reached.
    struct Look {
        QRect handle;
        bool atMinimum = false;
        bool atMaximum = false;
        bool enabled = true;

        bool operator==(const Look&) const = default;
    };
    Look look() const;
    QRect changedArea(const Look& from, const Look& to) const;
    void scheduleCheck();
    void check();

    // How far a style may draw around the handle's rectangle (its outline and shadow).
    static constexpr int kHandleEdge = 2;

    Look painted_;
    bool checkPending_ = false;
    int holds_ = 0;
    bool changedWhileHeld_ = false;
};
