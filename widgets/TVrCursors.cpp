#include "TVrCursors.h"

#include "TVrResources.h"
#include "VrDevicePixels.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPixmap>

namespace {

QHash<int, QCursor>& Registry() {
    static QHash<int, QCursor> registry;
    return registry;
}

// The built-in hand at each ratio it was asked for; emptied when the hand is replaced.
QHash<qreal, QCursor>& HandsByRatio() {
    static QHash<qreal, QCursor> hands;
    return hands;
}

bool& HandReplaced() {
    static bool replaced = false;
    return replaced;
}

QCursor BuiltInHand(qreal ratio) {
    const QImage hand = TVrCursors::HandPointImage(ratio);
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    const QPoint hot = TVrCursors::HandPointHotSpotFor(QGuiApplication::platformName(), ratio);
    return QCursor(QPixmap::fromImage(hand), hot.x(), hot.y());
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
    r.insert(crVrHandPoint, BuiltInHand(1.0));
}

} // namespace

QCursor TVrCursors::Cursor(int Id, qreal Ratio) {
    RegisterBuiltIns();
    if (Id == crVrHandPoint && Ratio != 1.0 && !HandReplaced()) {
        QHash<qreal, QCursor>& hands = HandsByRatio();
        auto it = hands.find(Ratio);
        if (it == hands.end())
            it = hands.insert(Ratio, BuiltInHand(Ratio));
        return *it;
    }
    return Registry().value(Id, QCursor(Qt::ArrowCursor));
}

void TVrCursors::Register(int Id, const QCursor& Cursor) {
    RegisterBuiltIns();
    Registry().insert(Id, Cursor);
    if (Id == crVrHandPoint) {
        HandReplaced() = true;
        HandsByRatio().clear();
    }
}

QImage TVrCursors::HandPointImage(qreal Ratio) {
    return vrScalePixelArt(TVrResources::Bitmap(QStringLiteral("VRCURSORHANDPOINT")), Ratio);
}

namespace {

constexpr QPoint kHandFingertip{6, 0};

} // namespace

QPoint TVrCursors::HandPointHotSpot(qreal Ratio) {
    return {vrDeviceEdge(kHandFingertip.x(), Ratio), vrDeviceEdge(kHandFingertip.y(), Ratio)};
}

QPoint TVrCursors::HandPointHotSpotFor(const QString& Platform, qreal Ratio) {
    if (Platform == QStringLiteral("xcb"))
        return HandPointHotSpot(Ratio);
    return kHandFingertip;
}
