#include "app/QuietScrollBar.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionSlider>

QuietScrollBar::QuietScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

QuietScrollBar::Look QuietScrollBar::look() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look l;
    l.handle = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    l.atMinimum = value() == minimum();
    l.atMaximum = value() == maximum();
    l.enabled = isEnabled();
    return l;
}

// Where the screen differs between two looks. A handle that only moved or changed length differs where
// it was and where it is: the groove elsewhere looks the same, and the whole bar is taller than the
// fill a painter splits across Qt's painting threads.
QRect QuietScrollBar::changedArea(const Look& from, const Look& to) const {
    if (from == to)
        return {};
    const bool sameEnds = from.atMinimum == to.atMinimum && from.atMaximum == to.atMaximum &&
                          from.enabled == to.enabled;
    if (!sameEnds || !from.handle.isValid() || !to.handle.isValid())
        return rect();
    return from.handle.united(to.handle)
        .adjusted(-kHandleEdge, -kHandleEdge, kHandleEdge, kHandleEdge)
        .intersected(rect());
}

void QuietScrollBar::check() {
    const QRect area = changedArea(painted_, look());
    if (!area.isEmpty())
        update(area);
}

void QuietScrollBar::scheduleCheck() {
    if (checkPending_)
        return;
    checkPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkPending_ = false;
            check();
        },
        Qt::QueuedConnection);
}

void QuietScrollBar::sliderChange(SliderChange change) {
    if (change == SliderOrientationChange) {
        QScrollBar::sliderChange(change);
        return;
    }
    if (holds_ > 0)
        changedWhileHeld_ = true;
    else
        scheduleCheck();
}

QuietScrollBar::Hold::Hold(QScrollBar* bar) : bar_(qobject_cast<QuietScrollBar*>(bar)) {
    if (bar_)
        ++bar_->holds_;
}

QuietScrollBar::Hold::~Hold() {
    if (!bar_ || --bar_->holds_ > 0 || !bar_->changedWhileHeld_)
        return;
    bar_->changedWhileHeld_ = false;
    bar_->check();
}

void QuietScrollBar::paintEvent(QPaintEvent* event) {
    // What is painted now is on the screen only where this paint reaches; a paint for some other
    // reason that misses part of a change leaves that part to the check.
    const Look now = look();
    if ((QRegion(changedArea(painted_, now)) - event->region()).isEmpty())
        painted_ = now;
    else
        scheduleCheck();
    QScrollBar::paintEvent(event);
}
