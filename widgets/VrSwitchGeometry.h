#pragma once

#include <QRect>
#include <QSize>

// Pure track arithmetic of the slide switch: stop <-> thumb pixel position, fitted size, thumb centring.
// "Position" below is the thumb's left edge (horizontal) or top edge (vertical) in client coordinates.

struct VrSwitchLayout {
    QSize client;
    QSize thumb;
    int borderWidth = 1;
    int thumbIndent = 1;
    int positions = 4;
    bool vertical = true;
    bool topRight = false; // stop 0 at the top (vertical) or right (horizontal) end
};

// Client rectangle shrunk by border and indent on every side.
QRect vrSwitchTrackRect(const VrSwitchLayout& l);
// Track start along the travel direction (never below 0) and the room the thumb moves in.
int vrSwitchTrackStart(const VrSwitchLayout& l);
int vrSwitchTravel(const VrSwitchLayout& l);

// Thumb position of stop `stop`.
int vrSwitchThumbPosition(const VrSwitchLayout& l, int stop);
// Offset that results from moving the thumb to position `pos` (clamped to the track, then snapped).
int vrSwitchOffsetAt(const VrSwitchLayout& l, int pos);

// Size the switch takes for its thumb, stop count and border; the cross dimension only grows.
QSize vrSwitchFittedSize(const VrSwitchLayout& l);
// Thumb coordinate across the track: top for horizontal, left for vertical.
int vrSwitchThumbCross(const VrSwitchLayout& l);
