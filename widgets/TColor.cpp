#include "TColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor SystemColor(int index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 5:
        return pal.color(QPalette::Active, QPalette::Base);
    case 8:
        return pal.color(QPalette::Active, QPalette::Text);
    case 13:
        return pal.color(QPalette::Active, QPalette::Highlight);
    case 14:
        return pal.color(QPalette::Active, QPalette::HighlightedText);
    case 15:
        return pal.color(QPalette::Active, QPalette::Button);
    case 16:
        return pal.color(QPalette::Active, QPalette::Dark);
    case 17:
        return pal.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return pal.color(QPalette::Active, QPalette::ButtonText);
    case 20:
        return pal.color(QPalette::Active, QPalette::Light);
    case 21:
        return pal.color(QPalette::Active, QPalette::Shadow);
    case 22:
        return pal.color(QPalette::Active, QPalette::Midlight);
    case 23:
        return pal.color(QPalette::Active, QPalette::ToolTipText);
    case 24:
        return pal.color(QPalette::Active, QPalette::ToolTipBase);
    default:
        return pal.color(QPalette::Active, QPalette::Window);
    }
}

} // namespace

QColor ColorToQColor(TColor color) {
    if (color & clSystemColor)
        return SystemColor(int(color & 0xFF));
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

TColor ColorToRGB(TColor color) {
    return QColorToColor(ColorToQColor(color));
}

TColor QColorToColor(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}
