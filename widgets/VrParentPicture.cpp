#include "VrParentPicture.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QWidget>

namespace {

bool PaintsWholeBackground(const QWidget& w) {
    return w.isWindow() || w.autoFillBackground() || w.testAttribute(Qt::WA_OpaquePaintEvent);
}

} // namespace

bool VrParentPicture::Paint(const QWidget& Widget, QPainter& Canvas) {
    QWidget* parent = Widget.parentWidget();
    if (!parent)
        return false;
    QList<QWidget*> ancestors; // the bottom one first painted, the parent last
    for (QWidget* a = parent; a; a = a->parentWidget()) {
        ancestors.prepend(a);
        if (PaintsWholeBackground(*a))
            break;
    }
    QWidget* bottom = ancestors.first();
    const QRect area(QPoint(0, 0), Widget.size());
    // Where no ancestor reaches (a widget sticking out of its parent) the bottom one's colour shows.
    Canvas.fillRect(area, bottom->palette().color(bottom->backgroundRole()));
    for (QWidget* a : ancestors) {
        // Each ancestor's own drawing only (no children), over the part of it under the widget.
        const QRect under = QRect(Widget.mapTo(a, QPoint(0, 0)), Widget.size());
        const QRect source = under & a->rect();
        if (source.isEmpty())
            continue;
        const QWidget::RenderFlags flags =
            a == bottom ? QWidget::DrawWindowBackground : QWidget::RenderFlags();
        a->render(&Canvas, source.topLeft() - under.topLeft(), QRegion(source), flags);
    }
    return true;
}

QColor VrParentPicture::MainColor(const QWidget& Widget) {
    if (!Widget.parentWidget() || Widget.width() <= 0 || Widget.height() <= 0)
        return {};
    QImage picture(Widget.size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&picture);
        Paint(Widget, p);
    }
    QHash<QRgb, int> counts;
    QRgb main = picture.pixel(0, 0);
    int most = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int n = ++counts[line[x]];
            if (n > most) {
                most = n;
                main = line[x];
            }
        }
    }
    return QColor::fromRgb(main);
}
