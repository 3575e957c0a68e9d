#include "TVrWebLabel.h"
#include "VrShellOpen.h"
#include "WidgetTestSupport.h"

#include <QEnterEvent>
#include <QPaintEngine>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A paint device that records each piece of text drawn on it, with its position and pen colour.
class TextRecorder : public QPaintDevice {
public:
    struct Text {
        QPointF at;
        QString text;
        QColor color;
    };
    QList<Text> texts;

    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 135;
        case PdmHeight:
            return 25;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 100;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextRecorder* owner) : QPaintEngine(AllFeatures), m_owner(owner) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& s) override {
            if (s.state() & DirtyPen)
                m_pen = s.pen().color();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            m_owner->texts.push_back({p, item.text(), m_pen});
        }
        void drawRects(const QRectF*, int) override {}
        void drawRects(const QRect*, int) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        Type type() const override { return User; }

    private:
        TextRecorder* m_owner;
        QColor m_pen;
    };
    mutable Engine m_engine{this};
};

// Exposes the label's drawing routine to paint on the recorder.
class ProbeLabel : public TVrWebLabel {
public:
    using TVrWebLabel::Paint;
};

// Replaces the desktop for one test and records what it was asked to open.
class ShellScope {
public:
    explicit ShellScope(bool succeed) {
        m_previous = VrSetShellOpenHandler([this, succeed](const QString& address) {
            opened << address;
            return succeed;
        });
    }
    ~ShellScope() { VrSetShellOpenHandler(m_previous); }
    QStringList opened;

private:
    VrShellOpenHandler m_previous;
};

void Enter(QWidget* w) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &event);
}

void Leave(QWidget* w) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

} // namespace

TEST(TVrWebLabel, OutlineCopiesBeforeTheCaption) {
    const struct {
        bool visible;
        int width;
        int copies;
    } cases[] = {{true, 2, 16}, {true, 1, 4}, {false, 2, 0}, {true, 0, 0}};
    for (const auto& c : cases) {
        ProbeLabel label;
        label.SetCaption("Link");
        label.TextOutline()->SetVisible(c.visible);
        label.TextOutline()->SetWidth(c.width);
        TextRecorder device;
        {
            QPainter p(&device);
            label.Paint(p);
        }
        ASSERT_EQ(device.texts.size(), c.copies + 1) << c.visible << " " << c.width;
        for (int i = 0; i < c.copies; ++i)
            EXPECT_EQ(device.texts[i].color, ColorToQColor(clNavy)) << i;
        EXPECT_EQ(device.texts.back().color, ColorToQColor(clGreen)) << "the caption comes last";
        EXPECT_EQ(device.texts.back().text, "Link");
    }
    const QList<QPoint> offsets = TVrHyperLink::OutlineOffsets(2);
    EXPECT_EQ(QSet<QPoint>(offsets.begin(), offsets.end()).size(), 16);
    EXPECT_EQ(offsets.mid(0, 4), (QList<QPoint>{{1, 1}, {1, -1}, {-1, 1}, {-1, -1}}));
}

TEST(TVrWebLabel, HoverSwitchesFontColourAndBackground) {
    TVrWebLabel label;
    label.SetCaption("W");
    QSignalSpy enters(&label, &TVrWebLabel::OnMouseEnter);
    EXPECT_EQ(Px(label.RenderImage(), 1, 1), clBlack);
    Enter(&label);
    EXPECT_TRUE(label.Hovering());
    EXPECT_EQ(enters.count(), 1);
    QImage img = label.RenderImage();
    EXPECT_EQ(Px(img, 1, 1), clBlue);
    bool lime = false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            lime = lime || Px(img, x, y) == clLime;
    EXPECT_TRUE(lime) << "the caption is drawn in FontEnter's colour";

    label.setEnabled(false);
    EXPECT_EQ(Px(label.RenderImage(), 1, 1), clBlack) << "a disabled label keeps the idle look";
    label.setEnabled(true);
    Leave(&label);
    EXPECT_EQ(Px(label.RenderImage(), 1, 1), clBlack);
}

TEST(TVrWebLabel, ReleaseWhileHoveringOpensTheAddressAfterOnClick) {
    ShellScope shell(true);
    TVrWebLabel label;
    label.SetURL("mailto:service@example.com");
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    QStringList order;
    QObject::connect(&label, &TVrWebLabel::OnClick,
                     [&] { order << "click:" + QString::number(shell.opened.size()); });
    QSignalSpy ups(&label, &TVrWebLabel::OnMouseUp);
    QSignalSpy errors(&label, &TVrWebLabel::OnError);
    Enter(&label);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(shell.opened, QStringList{"mailto:service@example.com"});
    EXPECT_EQ(order, QStringList{"click:0"}) << "OnClick fires before the shell is asked";
    EXPECT_EQ(ups.count(), 0) << "the label's release replaces OnMouseUp";
    EXPECT_EQ(errors.count(), 0);

    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(shell.opened.size(), 1) << "other buttons open nothing";
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&label, QPoint(300, 10));
    EXPECT_FALSE(label.Hovering());
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_EQ(shell.opened.size(), 1) << "a release away from the label opens nothing";
}

TEST(TVrWebLabel, EnterOrSpaceFollowsTheLinkOnTheirRelease) {
    ShellScope shell(true);
    TVrWebLabel label;
    label.SetURL("https://example.com/support/");
    label.setFocusPolicy(Qt::TabFocus);
    QSignalSpy clicks(&label, &TVrWebLabel::OnClick);
    QTest::keyPress(&label, Qt::Key_Space);
    EXPECT_TRUE(shell.opened.isEmpty()) << "not on the press: a held key would open many windows";
    QTest::keyRelease(&label, Qt::Key_Space);
    QTest::keyClick(&label, Qt::Key_Return);
    QTest::keyClick(&label, Qt::Key_A);
    EXPECT_EQ(shell.opened, QStringList({"https://example.com/support/", "https://example.com/support/"}));
    EXPECT_EQ(clicks.count(), 2);
}

TEST(TVrWebLabel, FailedOpenFiresOnError) {
    ShellScope shell(false);
    TVrWebLabel label;
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    QSignalSpy errors(&label, &TVrWebLabel::OnError);
    Enter(&label);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(errors.count(), 1);

    ShellScope accepting(true);
    label.SetURL("");
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(errors.count(), 2) << "an empty address always fails";
    EXPECT_TRUE(accepting.opened.isEmpty());
}

TEST(TVrWebLabel, TransparentDrawsOverTheParent) {
    QWidget parent;
    parent.resize(200, 50);
    FillBackground(parent, QColor(10, 200, 30));
    auto* label = new TVrWebLabel(&parent);
    label->move(20, 10);
    label->SetCaption("");
    label->SetTransparent(true);
    EXPECT_EQ(label->RenderImage().pixelColor(3, 3), QColor(10, 200, 30));
    label->SetTransparent(false);
    EXPECT_EQ(Px(label->RenderImage(), 3, 3), clBlack);
}

TEST(TVrWebLabel, DefaultsAndCursor) {
    TVrWebLabel label;
    EXPECT_EQ(label.size(), QSize(135, 25));
    EXPECT_EQ(label.Cursor(), 99);
    EXPECT_EQ(label.Alignment(), taCenter);
    EXPECT_TRUE(label.WordWrap());
    EXPECT_TRUE(label.FontEnter().bold());
    EXPECT_TRUE(label.FontLeave().underline());
    EXPECT_EQ(label.FontLeave().pointSize(), 12);
    EXPECT_FALSE(label.URL().isEmpty());
}
