#include "VrButtonLayout.h"

VrButtonLayout VrButtonLayout::Compute(const Input& in) {
    const int w = in.Client.Width();
    const int h = in.Client.Height();
    const int tw = in.TextWidth;
    const int th = in.TextHeight;
    const int gw = in.LedWidth;
    const int gh = in.LedHeight;
    const bool sideBySide = in.Layout == ImageLeft || in.Layout == ImageRight;

    int lampLeft = 0;
    int lampTop = 0;
    int textLeft = 0;
    int textTop = 0;
    if (sideBySide) {
        lampTop = (h - gh + 1) / 2;
        textTop = (h - th + 1) / 2;
    } else {
        lampLeft = (w - gw + 1) / 2;
        textLeft = (w - tw + 1) / 2;
    }

    int s = (tw == 0 || gw == 0) ? 0 : in.Spacing;
    int m = in.Margin;
    if (m == -1) {
        if (s == -1) {
            m = sideBySide ? (w - (gw + tw)) / 3 : (h - (gh + th)) / 3;
            s = m;
        } else {
            m = sideBySide ? (w - (gw + s + tw) + 1) / 2 : (h - (gh + s + th) + 1) / 2;
        }
    } else if (s == -1) {
        s = sideBySide ? (w - (m + gw) - tw) / 2 : (h - (m + gh) - th) / 2;
    }

    switch (in.Layout) {
    case ImageLeft:
        lampLeft = m;
        textLeft = m + gw + s;
        break;
    case ImageRight:
        lampLeft = w - m - gw;
        textLeft = lampLeft - s - tw;
        break;
    case ImageTop:
        lampTop = m;
        textTop = m + gh + s;
        break;
    case ImageBottom:
        lampTop = h - m - gh;
        textTop = lampTop - s - th;
        break;
    }

    VrButtonLayout out;
    out.Lamp = Bounds(in.Client.Left + lampLeft, in.Client.Top + lampTop, gw, gh);
    out.Caption = Bounds(in.Client.Left + textLeft, in.Client.Top + textTop, tw, th);
    return out;
}
