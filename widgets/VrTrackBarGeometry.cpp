#include "VrTrackBarGeometry.h"

#include "Vrsysutils.h"

#include <algorithm>

namespace {

// A frequency below 1 would divide by zero or never end the scale loop.
int SafeFrequency(int frequency) {
    return std::max(1, frequency);
}

} // namespace

TRect VrTrackBarGeometry::Track() const {
    TRect r{0, 0, ClientWidth, ClientHeight};
    InflateRect(r, -BorderWidth, -BorderWidth);
    return r;
}

int VrTrackBarGeometry::Start() const {
    const TRect t = Track();
    return std::max(0, Horizontal ? t.Left : t.Top);
}

int VrTrackBarGeometry::Travel() const {
    const TRect t = Track();
    return Horizontal ? t.Width() - ThumbWidth : t.Height() - ThumbHeight;
}

int VrTrackBarGeometry::PositionOf(int Value) const {
    const int range = MaxValue - MinValue;
    int p = Start();
    if (range != 0)
        p += RoundHalfEven(double(Travel()) * (Value - MinValue) / range);
    const TRect t = Track();
    if (!Horizontal && Style == psBottomLeft)
        p = t.Top + t.Bottom - p - ThumbHeight;
    else if (Horizontal && Style == psTopRight)
        p = t.Left + t.Right - p - ThumbWidth;
    return p;
}

int VrTrackBarGeometry::ValueOf(int Pos) const {
    if (!Horizontal)
        Pos = ClientHeight - Pos - ThumbHeight;
    const int travel = Travel();
    // No travel leaves no room to move: every position is the lowest value.
    int v = travel > 0 ? RoundHalfEven(double(Pos - Start()) * (MaxValue - MinValue) / travel) : 0;
    if (FixedPoints) {
        const int f = SafeFrequency(Frequency);
        v = RoundHalfEven(double(v) / f) * f;
    }
    v = std::max(v, 0);
    return std::min(v + MinValue, MaxValue);
}

int VrTrackBarGeometry::ValueForMove(int Pos) const {
    const int start = Start();
    const int end = start + Travel();
    Pos = std::max(start, std::min(Pos, end));
    if (FixedPoints) {
        int w = ValueOf(Pos);
        if (Style == psTopRight)
            w = MaxValue + MinValue - w;
        Pos = std::min(PositionOf(w), end);
    }
    const int v = ValueOf(Pos);
    return Style == psTopRight ? MaxValue + MinValue - v : v;
}

TRect VrTrackBarGeometry::ThumbRect(int Value) const {
    const int p = PositionOf(Value);
    if (Horizontal)
        return Bounds(p, (ClientHeight - ThumbHeight) / 2, ThumbWidth, ThumbHeight);
    return Bounds((ClientWidth - ThumbWidth) / 2, p, ThumbWidth, ThumbHeight);
}

TRect VrTrackBarGeometry::Gutter(int GutterWidth) const {
    if (Horizontal)
        return Bounds(BorderWidth, (ClientHeight - GutterWidth) / 2, ClientWidth - 2 * BorderWidth,
                      GutterWidth);
    return Bounds((ClientWidth - GutterWidth) / 2, BorderWidth, GutterWidth, ClientHeight - 2 * BorderWidth);
}

std::vector<VrTrackBarGeometry::Tick> VrTrackBarGeometry::Ticks() const {
    const int range = MaxValue - MinValue;
    const int travel = Travel();
    const int frequency = SafeFrequency(Frequency);
    int step = frequency;
    int n = 0;
    for (int k = 1;; ++k) {
        step = k * frequency;
        n = RoundHalfEven(double(range) / step) + 1;
        const int spacing = n > 1 ? travel / (n - 1) : travel;
        if (spacing >= 4 || spacing >= travel)
            break;
    }
    std::vector<Tick> ticks;
    for (int i = 1; i <= n; ++i) {
        const int value = i == n ? MaxValue : MinValue + (i - 1) * step;
        ticks.push_back(
            {value, PositionOf(value) + ThumbLength() / 2, value == MinValue || value == MaxValue});
    }
    return ticks;
}
