#include "TVrCursors.h"

#include "TVrResources.h"

#include <QHash>
#include <QImage>
#include <QPixmap>

namespace {

QHash<int, QCursor>& Registry() {
    static QHash<int, QCursor> registry;
    return registry;
}

void RegisterBuiltIns() {
    static bool done = false;
    if (done)
        return;
    done = true;
    QHash<int, QCursor>& r = Registry();
    r.insert(crDefault, QCursor(Qt::ArrowCursor));
    r.insert(crArrow, QCursor(Qt::ArrowCursor));
    r.insert(crCross, QCursor(Qt::CrossCursor));
    r.insert(crIBeam, QCursor(Qt::IBeamCursor));
    r.insert(crHourGlass, QCursor(Qt::WaitCursor));
    const QImage hand = TVrCursors::HandPointImage();
    const QPoint hot = TVrCursors::HandPointHotSpot();
    if (!hand.isNull())
        r.insert(crVrHandPoint, QCursor(QPixmap::fromImage(hand), hot.x(), hot.y()));
    else
        r.insert(crVrHandPoint, QCursor(Qt::PointingHandCursor));
}

} // namespace

QCursor TVrCursors::Cursor(int Id) {
    RegisterBuiltIns();
    return Registry().value(Id, QCursor(Qt::ArrowCursor));
}

void TVrCursors::Register(int Id, const QCursor& Cursor) {
    RegisterBuiltIns();
    Registry().insert(Id, Cursor);
}

QImage TVrCursors::HandPointImage() {
    return TVrResources::Bitmap(QStringLiteral("VRCURSORHANDPOINT"));
}

QPoint TVrCursors::HandPointHotSpot() {
    return {6, 0};
}
