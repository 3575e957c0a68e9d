// Widgets that take their parent's colour show what the parent actually paints under them, not the
// colour its palette names.
#include "TVrSwitch.h"
#include "TVrTrackBar.h"
#include "TVrUserLed.h"
#include "TVrWebLabel.h"
#include "VrParentPicture.h"
#include "WidgetTestSupport.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr QRgb kPaletteGrey = 0xffefefef; // 239: what the palette says
constexpr QRgb kFaceGrey = 0xffececec;    // 236: what the box paints
constexpr QRgb kLineGrey = 0xffd4d4d4;    // 212: the box's frame line

// A box like a styled group box: its palette says one grey, it paints its face in another and draws a
// frame line across its top at y = 20.
class StyledBox : public QWidget {
public:
    explicit StyledBox(QWidget* parent = nullptr) : QWidget(parent) {
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor::fromRgb(kPaletteGrey));
        setPalette(p);
        resize(252, 98);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor::fromRgb(kFaceGrey));
        p.fillRect(QRect(0, 20, width(), 1), QColor::fromRgb(kLineGrey));
    }
};

// The address bar's place in its box: it reaches over the frame line.
TVrTrackBar* AddressBarIn(QWidget* box) {
    auto* bar = new TVrTrackBar(box);
    bar->setGeometry(6, 16, 240, 42);
    bar->SetMaxValue(255);
    return bar;
}

} // namespace

TEST(ParentBackground, TheColourIsWhatTheParentPaintsNotItsPalette) {
    StyledBox box;
    TVrTrackBar* bar = AddressBarIn(&box);
    EXPECT_EQ(bar->ResolvedColor().rgb(), kFaceGrey) << "the face wins over the frame line";
    EXPECT_EQ(VrParentPicture::MainColor(*bar).rgb(), kFaceGrey);

    const QImage image = bar->RenderImage();
    EXPECT_EQ(image.pixel(1, 1), kFaceGrey);
    EXPECT_EQ(image.pixel(1, 4), kLineGrey) << "the frame line runs on under the bar";
    EXPECT_EQ(image.pixel(230, 4), kLineGrey);
    EXPECT_EQ(image.pixel(1, 40), kFaceGrey);

    bar->SetColor(clYellow);
    EXPECT_EQ(Px(bar->RenderImage(), 1, 4), clYellow) << "a colour of its own is a plain fill";
}

TEST(ParentBackground, AncestorsThatDoNotPaintLetTheOnesUnderThemShow) {
    StyledBox window;
    auto* page = new QWidget(&window); // paints nothing of its own
    page->setGeometry(0, 0, 252, 98);
    TVrTrackBar* bar = AddressBarIn(page);
    EXPECT_EQ(bar->ResolvedColor().rgb(), kFaceGrey);
    EXPECT_EQ(bar->RenderImage().pixel(1, 4), kLineGrey);

    // A box at 2x: the picture under the bar is painted at the ratio too.
    const QImage twoX = bar->RenderImage(2.0);
    EXPECT_EQ(twoX.pixel(2, 8), kLineGrey);
    EXPECT_EQ(twoX.pixel(3, 9), kLineGrey);
    EXPECT_EQ(twoX.pixel(2, 10), kFaceGrey);
}

// The box of the issue: Fusion paints group boxes darker than the window; a track bar in one showed a
// lighter rectangle.
TEST(ParentBackground, ATrackBarInAFusionGroupBoxShowsNoBox) {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    ASSERT_TRUE(fusion);
    QWidget window;
    window.resize(260, 110);
    window.setStyle(fusion.get());
    auto* box = new QGroupBox("ADDRESS=0x00 / 0", &window);
    box->setStyle(fusion.get());
    box->setGeometry(4, 4, 252, 98);
    TVrTrackBar* bar = AddressBarIn(box);
    bar->SetTickMarks(tmNone);
    bar->GutterBevel()->SetVisible(false);
    bar->SetPosition(255); // the thumb out of the way at the right end

    const QImage shot = window.grab().toImage();
    const QPoint barOrigin = bar->mapTo(&window, QPoint(0, 0));
    // Across the bar's left edge, at a height inside the box's face: the same grey on both sides.
    for (int y : {10, 20, 35}) {
        const QRgb outside = shot.pixel(barOrigin.x() - 2, barOrigin.y() + y);
        const QRgb inside = shot.pixel(barOrigin.x() + 2, barOrigin.y() + y);
        EXPECT_EQ(qGray(inside), qGray(outside)) << "row " << y;
    }
    EXPECT_NE(bar->ResolvedColor(), window.palette().color(QPalette::Window)) << "Fusion's face is darker";
}

TEST(ParentBackground, TransparentAndOwnerDrawnWidgetsStartFromTheSamePicture) {
    StyledBox box;
    auto* label = new TVrWebLabel(&box);
    label->setGeometry(10, 10, 135, 25);
    label->SetCaption("");
    label->SetTransparent(true);
    const QImage image = label->RenderImage();
    EXPECT_EQ(image.pixel(1, 1), kFaceGrey);
    EXPECT_EQ(image.pixel(1, 10), kLineGrey);

    auto* led = new TVrUserLed(&box);
    led->setGeometry(30, 15, 20, 10);
    led->SetDrawStyle(dsOwnerDraw);
    const QImage lamp = led->RenderImage();
    EXPECT_EQ(lamp.pixel(0, 0), kFaceGrey);
    EXPECT_EQ(lamp.pixel(0, 5), kLineGrey);
}

TEST(ParentBackground, ALinkInTheFaceColourShowsTheFaceItSitsOn) {
    StyledBox box;
    auto* label = new TVrWebLabel(&box);
    label->setGeometry(10, 10, 135, 25);
    label->SetCaption("");
    label->SetColorLeave(clBtnFace);
    QImage image = label->RenderImage();
    EXPECT_EQ(image.pixel(1, 1), kFaceGrey) << "the About page's links: no box of the palette's grey";
    EXPECT_EQ(image.pixel(1, 10), kLineGrey);

    label->SetColorLeave(clSilver);
    EXPECT_EQ(Px(label->RenderImage(), 1, 10), clSilver) << "any other colour is a plain fill";
    label->SetColorLeave(clBtnFace);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(label, &enter);
    EXPECT_EQ(Px(label->RenderImage(), 1, 10), clBlue) << "the hover colour";
}

TEST(ParentBackground, ASwitchsIdleBorderInTheFaceColourVanishesIntoTheFace) {
    StyledBox box;
    auto* s = new TVrSwitch(&box);
    s->SetPositions(2);
    s->setGeometry(20, 40, 29, 26);
    QImage image = s->RenderImage();
    EXPECT_EQ(image.pixel(0, 0), kFaceGrey);
    EXPECT_EQ(image.pixel(28, 25), kFaceGrey);
    EXPECT_EQ(Px(image, 1, 1), Resolved(clBtnHighlight)) << "the bevel inside the border as before";
    EXPECT_EQ(Px(image, 14, 6), clBlack) << "the track keeps the switch's own colour";

    s->window()->setAttribute(Qt::WA_KeyboardFocusChange); // the keyboard moves the focus here
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(s, &focus);
    EXPECT_EQ(Px(s->RenderImage(), 0, 0), clBlue) << "the focus colour is a colour of its own";
}
