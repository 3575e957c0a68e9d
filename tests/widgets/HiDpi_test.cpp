// The widgets on screens with more device pixels than pixels: 2x, and the fractional 1.25x and 1.5x.
#include "TVrCursors.h"
#include "TVrPowerButton.h"
#include "TVrRaster.h"
#include "TVrRasterLed.h"
#include "TVrSwitch.h"
#include "TVrTrackBar.h"
#include "TVrUserLed.h"
#include "TVrWebLabel.h"
#include "VrDevicePixels.h"
#include "WidgetTestSupport.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The main window's look of each widget that draws without text.
std::unique_ptr<VrControl> AddressBar() {
    auto bar = std::make_unique<TVrTrackBar>();
    bar->resize(465, 45);
    bar->SetBorderWidth(5);
    bar->SetMaxValue(255);
    bar->SetPosition(128);
    return bar;
}

std::unique_ptr<VrControl> DioSwitch() {
    auto s = std::make_unique<TVrSwitch>();
    s->SetPositions(2);
    s->resize(29, 26);
    s->SetOffset(1);
    return s;
}

std::unique_ptr<VrControl> SymbolEditor() {
    auto r = std::make_unique<TVrRaster>();
    r->resize(129, 204);
    r->SetRows(8);
    r->SetStyle(rsFlat);
    r->SetSpacing(1);
    for (int i = 0; i < r->Count(); i += 3)
        r->Items(i)->SetActive(true);
    return r;
}

std::unique_ptr<VrControl> GradientLed() {
    auto led = std::make_unique<TVrUserLed>();
    led->resize(29, 15);
    led->SetOutlineWidth(2);
    led->PaletteEx()->SetLow2(clWhite);
    return led;
}

std::unique_ptr<TVrPowerButton> OpenPortButton() {
    auto b = std::make_unique<TVrPowerButton>();
    b->resize(105, 32);
    b->setFont(QFont("Sans Serif", 8));
    b->SetCaption("Open port");
    return b;
}

} // namespace

TEST(VrDevicePixels, EdgesRoundHalvesUpAsTheRasterEngineDoes) {
    struct Case {
        int edge;
        qreal ratio;
        int device;
    } cases[] = {{0, 1.5, 0},  {1, 1.5, 2},  {2, 1.5, 3},  {3, 1.5, 5}, {1, 1.25, 1},
                 {2, 1.25, 3}, {3, 1.25, 4}, {7, 2.0, 14}, {7, 1.0, 7}};
    for (const Case& c : cases)
        EXPECT_EQ(vrDeviceEdge(c.edge, c.ratio), c.device) << c.edge << " at " << c.ratio;
    EXPECT_EQ(vrDeviceImage(QSize(105, 32), 1.5).size(), QSize(158, 48));
    EXPECT_EQ(vrDeviceImage(QSize(105, 32), 1.5).devicePixelRatio(), 1.5);

    // Pixel art at 1.5 from a device origin of 0 and of 1.5: the same three pixels, spread over the
    // device pixels each one covers there.
    QImage art(3, 1, QImage::Format_ARGB32_Premultiplied);
    art.setPixel(0, 0, qRgb(255, 0, 0));
    art.setPixel(1, 0, qRgb(0, 255, 0));
    art.setPixel(2, 0, qRgb(0, 0, 255));
    const auto row = [](const QImage& image) {
        QString s;
        for (int x = 0; x < image.width(); ++x)
            s += image.pixel(x, 0) == qRgb(255, 0, 0)   ? 'r'
                 : image.pixel(x, 0) == qRgb(0, 255, 0) ? 'g'
                                                        : 'b';
        return s;
    };
    EXPECT_EQ(row(vrScalePixelArt(art, 1.5)), "rrgbb");
    EXPECT_EQ(row(vrScalePixelArt(art, 1.5, QPointF(1.5, 0))), "rggb");
    EXPECT_EQ(row(vrScalePixelArt(art, 2.0)), "rrggbb");
}

// Lines, fills, bevels, scales and thumbs: at every ratio each device pixel shows the 1x pixel it
// belongs to, so the widgets keep every 1x pixel rule with hard edges (the thumbs are drawn from their
// pixels, a plain doubling at 2x).
TEST(HiDpi, PicturesWithoutTextKeepTheirPixelRulesAtEveryRatio) {
    const struct {
        const char* name;
        std::function<std::unique_ptr<VrControl>()> make;
    } widgets[] = {{"address track bar", AddressBar},
                   {"DIO switch", DioSwitch},
                   {"symbol editor raster", SymbolEditor},
                   {"gradient LED", GradientLed}};
    for (const auto& w : widgets) {
        const std::unique_ptr<VrControl> control = w.make();
        const QImage oneX = control->RenderImage();
        for (const qreal ratio : {1.25, 1.5, 2.0}) {
            const QImage scaled = control->RenderImage(ratio);
            EXPECT_EQ(scaled.devicePixelRatio(), ratio);
            EXPECT_EQ(scaled.size(), vrDeviceImage(control->size(), ratio).size()) << w.name;
            EXPECT_EQ(ScaledPixelMismatches(oneX, scaled, ratio), 0) << w.name << " at " << ratio;
        }
    }
}

TEST(HiDpi, CaptionsAreDrawnAtTheScreensResolution) {
    const std::unique_ptr<TVrPowerButton> button = OpenPortButton();
    const QRect caption = button->CaptionRect();
    const QImage oneX = button->RenderImage();
    const QImage twoX = button->RenderImage(2.0);
    const QRgb face = QColor(ColorToQColor(clBtnFace)).rgb();
    const Blocks blocks = TwoByTwoBlocks(twoX, caption, face);
    EXPECT_GT(blocks.inked, 20);
    EXPECT_GT(blocks.mixed, blocks.inked / 3) << "glyph edges fall inside pixels: not a 1x caption doubled";
    EXPECT_EQ(ScaledPixelMismatches(oneX, twoX, 2.0, {}, caption), 0) << "lamp, bevel and outline as at 1x";
    const QImage oneAndHalf = button->RenderImage(1.5);
    EXPECT_EQ(ScaledPixelMismatches(oneX, oneAndHalf, 1.5, {}, caption), 0);
    EXPECT_GT(ScaledPixelMismatches(oneX, oneAndHalf, 1.5), 0) << "the caption is drawn anew at 1.5";

    TVrWebLabel label;
    label.SetCaption("Technical Support");
    const QImage labelTwoX = label.RenderImage(2.0);
    const Blocks text = TwoByTwoBlocks(labelTwoX, label.rect(), qRgb(0, 0, 0));
    EXPECT_GT(text.inked, 50);
    EXPECT_GT(text.mixed, text.inked / 3);
}

TEST(HiDpi, TheBackBufferFollowsTheRatioOfWhatItIsShownOn) {
    const std::unique_ptr<TVrPowerButton> button = OpenPortButton();
    const struct {
        qreal ratio;
        QSize device;
    } steps[] = {{2.0, {210, 64}}, {1.0, {105, 32}}, {1.5, {158, 48}}, {1.0, {105, 32}}};
    for (const auto& s : steps) {
        const QImage shown = button->RenderImage(s.ratio);
        EXPECT_EQ(button->GetBitmapCanvas().devicePixelRatio(), s.ratio);
        EXPECT_EQ(button->GetBitmapCanvas().size(), s.device);
        EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0)) << "the outline at " << s.ratio;
    }
}

// A widget whose origin falls between device pixels (x = 3 at 1.5 is device 4.5) rounds its edges as
// a widget painting straight on the screen does, and fills every device pixel it covers.
TEST(HiDpi, AWidgetBetweenDevicePixelsIsCopiedPixelForPixel) {
    QWidget parent;
    parent.resize(40, 35);
    FillBackground(parent, Qt::white);
    auto* s = new TVrSwitch(&parent);
    s->SetPositions(2);
    s->setGeometry(3, 3, 29, 26);
    const QImage oneX = s->RenderImage();
    QImage screen = vrDeviceImage(parent.size(), 1.5);
    screen.fill(Qt::white);
    {
        QPainter p(&screen);
        parent.render(&p);
    }
    EXPECT_EQ(ScaledPixelMismatches(oneX, screen, 1.5, QPointF(4.5, 4.5)), 0);
}

// A raster lights a dot by copying that piece of its buffer; a buffer drawn for another ratio (here
// by a 2x rendering) is drawn anew for the screen instead.
TEST(HiDpi, ADotChangeRedrawsTheWholePictureWhenTheBufferIsForAnotherRatio) {
    TVrRaster r;
    r.resize(145, 70);
    r.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&r));
    PaintCounter paints(&r);
    (void)r.RenderImage(2.0);
    r.Items(7)->SetActive(true);
    EXPECT_EQ(r.GetBitmapCanvas().devicePixelRatio(), r.devicePixelRatioF());
    EXPECT_EQ(paints.count, 1);
    const QRect slot = r.GetItemRect(7);
    EXPECT_EQ(Px(r.GetBitmapCanvas(), slot.center().x(), slot.center().y()), clLime);
}

TEST(HiDpi, TheHandCursorIsDrawnLargerFromItsPixels) {
    const QImage oneX = TVrCursors::HandPointImage();
    const struct {
        qreal ratio;
        int size;
        QPoint hot;
    } cases[] = {{1.0, 32, {6, 0}}, {1.5, 48, {9, 0}}, {2.0, 64, {12, 0}}};
    for (const auto& c : cases) {
        const QImage hand = TVrCursors::HandPointImage(c.ratio);
        EXPECT_EQ(hand.size(), QSize(c.size, c.size)) << c.ratio;
        EXPECT_EQ(TVrCursors::HandPointHotSpot(c.ratio), c.hot) << c.ratio;
        EXPECT_EQ(hand.pixelColor(c.hot), QColor(Qt::black)) << "the fingertip at " << c.ratio;
        EXPECT_EQ(ScaledPixelMismatches(oneX, hand, c.ratio), 0) << c.ratio;
        const QCursor cursor = TVrCursors::Cursor(crVrHandPoint, c.ratio);
        EXPECT_EQ(cursor.pixmap().size(), QSize(c.size, c.size));
        EXPECT_EQ(cursor.hotSpot(),
                  TVrCursors::HandPointHotSpotFor(QGuiApplication::platformName(), c.ratio));
    }
}

// X11 reads the hot spot in the picture's device pixels, Wayland (and Qt's rule) in its logical pixels,
// which Wayland scales by the ratio: either way the spot lands on the fingertip's device pixel.
TEST(HiDpi, TheHandsHotSpotIsInTheUnitThePlatformReads) {
    const struct {
        const char* platform;
        qreal ratio;
        QPoint given;
    } cases[] = {{"xcb", 1.0, {6, 0}},      {"xcb", 1.5, {9, 0}},     {"xcb", 2.0, {12, 0}},
                 {"wayland", 1.0, {6, 0}},  {"wayland", 1.5, {6, 0}}, {"wayland", 2.0, {6, 0}},
                 {"offscreen", 2.0, {6, 0}}};
    for (const auto& c : cases) {
        const QPoint given = TVrCursors::HandPointHotSpotFor(QString::fromLatin1(c.platform), c.ratio);
        EXPECT_EQ(given, c.given) << c.platform << " " << c.ratio;
        const QPoint device = QString::fromLatin1(c.platform) == QStringLiteral("xcb")
                                  ? given
                                  : QPoint(qRound(given.x() * c.ratio), qRound(given.y() * c.ratio));
        EXPECT_EQ(device, TVrCursors::HandPointHotSpot(c.ratio)) << c.platform << " " << c.ratio;
    }
}
