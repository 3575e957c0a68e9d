#include "VrSwitchGeometry.h"

#include "Vrsysutils.h"

#include <algorithm>
#include <cmath>

QRect vrSwitchTrackRect(const VrSwitchLayout& l) {
    const int inset = l.borderWidth + l.thumbIndent;
    return QRect(QPoint(inset, inset), QPoint(l.client.width() - inset - 1, l.client.height() - inset - 1));
}

int vrSwitchTrackStart(const VrSwitchLayout& l) {
    const QRect track = vrSwitchTrackRect(l);
    return std::max(0, l.vertical ? track.top() : track.left());
}

int vrSwitchTravel(const VrSwitchLayout& l) {
    const QRect track = vrSwitchTrackRect(l);
    return l.vertical ? track.height() - l.thumb.height() : track.width() - l.thumb.width();
}

// A single stop or no room to move leaves nothing to divide: every stop then sits at the start.
static double stopFraction(int numerator, int denominator) {
    return denominator > 0 ? static_cast<double>(numerator) / denominator : 0.0;
}

int vrSwitchThumbPosition(const VrSwitchLayout& l, int stop) {
    const QRect track = vrSwitchTrackRect(l);
    const int travel = vrSwitchTravel(l);
    int p = RoundHalfEven(travel * stopFraction(stop, l.positions - 1)) + vrSwitchTrackStart(l);
    // The exclusive right/bottom edge is the one the formula was written for.
    const int trackRight = track.left() + track.width();
    const int trackBottom = track.top() + track.height();
    if (l.vertical && !l.topRight)
        p = track.top() + trackBottom - p - l.thumb.height();
    else if (!l.vertical && l.topRight)
        p = track.left() + trackRight - p - l.thumb.width();
    return p;
}

int vrSwitchOffsetAt(const VrSwitchLayout& l, int pos) {
    const int start = vrSwitchTrackStart(l);
    const int travel = vrSwitchTravel(l);
    int p = std::clamp(pos, start, start + std::max(0, travel));
    if (l.vertical)
        p = l.client.height() - p - l.thumb.height();
    const int last = std::max(0, l.positions - 1);
    const int v = std::clamp(RoundHalfEven((p - start) * stopFraction(l.positions - 1, travel)), 0, last);
    return l.topRight ? last - v : v;
}

QSize vrSwitchFittedSize(const VrSwitchLayout& l) {
    const int border = 2 * l.borderWidth;
    if (l.vertical)
        return QSize(std::max(border + l.thumb.width(), l.client.width()),
                     l.thumb.height() * l.positions + border);
    return QSize(l.thumb.width() * l.positions + border,
                 std::max(border + l.thumb.height(), l.client.height()));
}

int vrSwitchThumbCross(const VrSwitchLayout& l) {
    return l.vertical ? (l.client.width() - l.thumb.width()) / 2 : (l.client.height() - l.thumb.height()) / 2;
}
