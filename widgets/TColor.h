#pragma once

#include <QColor>
#include <cstdint>

// A colour as the widgets store it: with the top bit clear, red + 256 * green + 65536 * blue;
// with the top bit set, the low byte numbers a system colour that is resolved from the application
// palette only when drawn, so a palette change restyles every widget.
using TColor = std::uint32_t;

constexpr TColor RGB(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

constexpr TColor clSystemColor = 0x80000000u;

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);

constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;

// Resolves system colours through the application palette; plain colours pass unchanged.
QColor ColorToQColor(TColor color);
// The resolved colour as a plain value (top bit clear).
TColor ColorToRGB(TColor color);
TColor QColorToColor(const QColor& color);

inline int GetRValue(TColor c) {
    return int(c & 0xFF);
}
inline int GetGValue(TColor c) {
    return int((c >> 8) & 0xFF);
}
inline int GetBValue(TColor c) {
    return int((c >> 16) & 0xFF);
}
