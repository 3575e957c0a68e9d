#pragma once

#include "TRect.h"
#include "Vrtypes.h"

#include <vector>

// The track bar's arithmetic between values and pixels, free of any widget state so that it can be
// checked with tables of cases.
struct VrTrackBarGeometry {
    bool Horizontal = true;
    TVrProgressStyle Style = psBottomLeft;
    int MinValue = 0;
    int MaxValue = 100;
    int Frequency = 10;
    bool FixedPoints = false;
    int ClientWidth = 175;
    int ClientHeight = 45;
    int BorderWidth = 10;
    int ThumbWidth = 9;
    int ThumbHeight = 17;

    struct Tick {
        int Value;
        int Pos;    // along the track: the thumb's centre for the value
        bool AtEnd; // MinValue or MaxValue: drawn one pixel longer
        bool operator==(const Tick&) const = default;
    };

    // The client rectangle shrunk by BorderWidth.
    TRect Track() const;
    int Start() const;
    int Travel() const;
    // Thumb size along the track.
    int ThumbLength() const { return Horizontal ? ThumbWidth : ThumbHeight; }
    // Leading edge of the thumb (left or top) for a value.
    int PositionOf(int Value) const;
    // Value for a leading-edge position, before the psTopRight mirroring.
    int ValueOf(int Pos) const;
    // The Position that moving the thumb's leading edge to Pos gives.
    int ValueForMove(int Pos) const;
    // The thumb's rectangle for a value: centred across the track.
    TRect ThumbRect(int Value) const;
    // The gutter: GutterWidth thick along the middle of the client area.
    TRect Gutter(int GutterWidth) const;
    std::vector<Tick> Ticks() const;
};
