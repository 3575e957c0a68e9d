#include "VrButtonLayout.h"

VrButtonLayout VrButtonLayout::Compute(const Input& in) {
    // Lamp and caption line up along one axis and are centred across it; the arithmetic along the
    // axis is the same whichever axis it is.
    const bool sideBySide = in.Layout == ImageLeft || in.Layout == ImageRight;
    const bool lampFirst = in.Layout == ImageLeft || in.Layout == ImageTop;
    const int length = sideBySide ? in.Client.Width() : in.Client.Height();
    const int breadth = sideBySide ? in.Client.Height() : in.Client.Width();
    const int lampLength = sideBySide ? in.LedWidth : in.LedHeight;
    const int lampBreadth = sideBySide ? in.LedHeight : in.LedWidth;
    const int textLength = sideBySide ? in.TextWidth : in.TextHeight;
    const int textBreadth = sideBySide ? in.TextHeight : in.TextWidth;

    int s = (in.TextWidth == 0 || in.LedWidth == 0) ? 0 : in.Spacing;
    int m = in.Margin;
    if (m == -1) {
        if (s == -1) {
            m = (length - (lampLength + textLength)) / 3;
            s = m;
        } else {
            m = (length - (lampLength + s + textLength) + 1) / 2;
        }
    } else if (s == -1) {
        s = (length - (m + lampLength) - textLength) / 2;
    }

    const int lampAlong = lampFirst ? m : length - m - lampLength;
    const int textAlong = lampFirst ? m + lampLength + s : lampAlong - s - textLength;
    const int lampAcross = (breadth - lampBreadth + 1) / 2;
    const int textAcross = (breadth - textBreadth + 1) / 2;

    const TRect& c = in.Client;
    VrButtonLayout out;
    if (sideBySide) {
        out.Lamp = Bounds(c.Left + lampAlong, c.Top + lampAcross, in.LedWidth, in.LedHeight);
        out.Caption = Bounds(c.Left + textAlong, c.Top + textAcross, in.TextWidth, in.TextHeight);
    } else {
        out.Lamp = Bounds(c.Left + lampAcross, c.Top + lampAlong, in.LedWidth, in.LedHeight);
        out.Caption = Bounds(c.Left + textAcross, c.Top + textAlong, in.TextWidth, in.TextHeight);
    }
    return out;
}
