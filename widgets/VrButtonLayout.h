#pragma once

#include "TRect.h"

enum TVrImageTextLayout { ImageLeft, ImageRight, ImageTop, ImageBottom };

// Places a lamp and a caption inside a button: pure arithmetic, all divisions truncating.
struct VrButtonLayout {
    struct Input {
        TRect Client;      // the area inside bevel and outline
        int TextWidth = 0; // measured caption; 0 by 0 for an empty caption
        int TextHeight = 0;
        int LedWidth = 12;
        int LedHeight = 12;
        TVrImageTextLayout Layout = ImageLeft;
        int Margin = -1; // -1: lamp and caption centred together
        int Spacing = 5; // -1: spread evenly
    };
    TRect Lamp;
    TRect Caption;

    static VrButtonLayout Compute(const Input& in);
};
