#include "TVrRaster.h"
#include "TVrRasterLed.h"
#include "WidgetTestSupport.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr TColor kDarkGreen = 1849088; // red 0, green 55, blue 28: the symbol page's unlit dot

// A raster set up like the symbol page's: 5 x 8, flat dots, dark green / lime.
void SymbolPageLook(TVrRaster& r, QSize size, int spacing) {
    r.resize(size);
    r.SetRows(8);
    r.SetStyle(rsFlat);
    r.SetSpacing(spacing);
    r.Palette()->SetLow(kDarkGreen);
    r.Palette()->SetHigh(clLime);
}

} // namespace

TEST(TVrRaster, SymbolEditorCellsKeepTheSize) {
    TVrRaster r;
    SymbolPageLook(r, {129, 204}, 1);
    r.Items(7)->SetActive(true);
    const QImage img = r.RenderImage();
    EXPECT_EQ(r.size(), QSize(129, 204));
    EXPECT_EQ(r.GetItemRect(0), QRect(2, 2, 25, 25));

    // Cell 0 (off): slot 2..26, black square 3..25 (23 x 23), interior 4..24 (21 x 21).
    EXPECT_EQ(Px(img, 2, 2), Resolved(clWindow)) << "spacing shows the background";
    EXPECT_TRUE(AllPixels(img, QRect(3, 3, 23, 1), clBlack));
    EXPECT_TRUE(AllPixels(img, QRect(3, 25, 23, 1), clBlack));
    EXPECT_TRUE(AllPixels(img, QRect(3, 3, 1, 23), clBlack));
    EXPECT_TRUE(AllPixels(img, QRect(25, 3, 1, 23), clBlack));
    EXPECT_TRUE(AllPixels(img, QRect(4, 4, 21, 21), kDarkGreen));
    EXPECT_EQ(Px(img, 26, 26), Resolved(clWindow));

    // Cell 7 is column 2, row 1: slot at (52, 27), lit interior 54..74 x 29..49.
    EXPECT_TRUE(AllPixels(img, QRect(54, 29, 21, 21), clLime));
    EXPECT_EQ(Px(img, 53, 28), clBlack);
    // The bevel: black outline, then the raised edge.
    EXPECT_EQ(Px(img, 0, 0), clBlack);
    EXPECT_EQ(Px(img, 1, 1), Resolved(clBtnHighlight));
}

TEST(TVrRaster, PreviewCellsAreFiveByFive) {
    TVrRaster r;
    SymbolPageLook(r, {29, 44}, 0);
    r.Items(39)->SetActive(true);
    const QImage img = r.RenderImage();
    EXPECT_EQ(r.size(), QSize(29, 44));
    EXPECT_EQ(r.GetItemRect(39), QRect(22, 37, 5, 5));
    EXPECT_TRUE(AllPixels(img, QRect(3, 3, 3, 3), kDarkGreen));
    EXPECT_EQ(Px(img, 2, 2), clBlack);
    EXPECT_EQ(Px(img, 6, 6), clBlack);
    EXPECT_TRUE(AllPixels(img, QRect(23, 38, 3, 3), clLime));
}

TEST(TVrRaster, FirstPaintFitsTheSize) {
    TVrRaster r;
    SymbolPageLook(r, {130, 204}, 1);
    EXPECT_EQ(r.size(), QSize(130, 204)) << "setters do not fit; the paint does";
    r.RenderImage();
    EXPECT_EQ(r.size(), QSize(129, 204));
}

TEST(TVrRaster, ShownRasterFitsOnItsFirstPaint) {
    QWidget window;
    window.resize(200, 250);
    auto* r = new TVrRaster(&window);
    SymbolPageLook(*r, {130, 204}, 1);
    r->move(10, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    r->repaint();
    EXPECT_EQ(r->geometry(), QRect(10, 20, 129, 204)) << "the position stays";
    EXPECT_EQ(r->GetBitmapCanvas().size(), QSize(129, 204));
}

TEST(TVrRaster, CellNumbering) {
    TVrRaster r;
    SymbolPageLook(r, {129, 204}, 1);
    EXPECT_EQ(r.Count(), 40);
    EXPECT_EQ(r.GetItemRect(7).topLeft(), QPoint(2 + 2 * 25, 2 + 1 * 25));
    EXPECT_EQ(r.CellAt({3, 3}), 0);
    EXPECT_EQ(r.CellAt({126, 201}), 39);
    EXPECT_EQ(r.CellAt({1, 1}), -1);
}

TEST(TVrRaster, SingleSelectSwitchesTheOthersOff) {
    TVrRaster r;
    SymbolPageLook(r, {129, 204}, 1);
    r.Items(0)->SetActive(true);
    r.Items(9)->SetActive(true);
    r.SetMultiSelect(false);
    for (int i = 0; i < r.Count(); ++i)
        EXPECT_FALSE(r.Items(i)->Active()) << "turning MultiSelect off clears cell " << i;

    r.Items(5)->SetActive(true);
    r.Items(3)->SetActive(true);
    for (int i = 0; i < r.Count(); ++i)
        EXPECT_EQ(r.Items(i)->Active(), i == 3) << i;
    const QImage img = r.RenderImage();
    EXPECT_TRUE(AllPixels(img, QRect(r.GetItemRect(3).adjusted(2, 2, -2, -2)), clLime));
    EXPECT_TRUE(AllPixels(img, QRect(r.GetItemRect(5).adjusted(2, 2, -2, -2)), kDarkGreen));

    // Lit while changes were bracketed: the paint still leaves only one.
    r.Leds()->BeginUpdate();
    r.Items(1)->SetActive(true);
    r.Items(2)->SetActive(true);
    r.Leds()->EndUpdate();
    r.RenderImage();
    int lit = 0;
    for (int i = 0; i < r.Count(); ++i)
        lit += r.Items(i)->Active();
    EXPECT_EQ(lit, 1);
}

TEST(TVrRaster, NewRowCountRecreatesAllCellsOff) {
    TVrRaster r;
    EXPECT_EQ(r.Count(), 25);
    r.SetActiveState(-1, true);
    r.SetRows(8);
    EXPECT_EQ(r.Count(), 40);
    for (int i = 0; i < r.Count(); ++i)
        EXPECT_FALSE(r.Items(i)->Active()) << i;
    r.SetActiveState(4, true);
    EXPECT_FALSE(r.Items(4)->Active());
    EXPECT_TRUE(r.Items(5)->Active());
    r.SetColumns(0);
    EXPECT_EQ(r.Columns(), 5) << "no cell could be drawn with zero columns";
}

TEST(TVrRaster, OneCellChangeRedrawsOnlyThatCell) {
    QWidget window;
    window.resize(200, 250);
    auto* r = new TVrRaster(&window);
    SymbolPageLook(*r, {129, 204}, 1);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    r->repaint();
    PaintRects paints(r);
    r->Items(7)->SetActive(true);
    ASSERT_EQ(paints.rects.size(), 1) << "shown at once, without waiting for the event loop";
    EXPECT_EQ(paints.rects[0], r->GetItemRect(7));
    EXPECT_TRUE(AllPixels(r->GetBitmapCanvas(), QRect(54, 29, 21, 21), clLime));
    r->Items(7)->SetActive(true);
    EXPECT_EQ(paints.rects.size(), 1) << "the same state redraws nothing";
}

TEST(TVrRaster, BevelChangeKeepsTheCellArea) {
    TVrRaster r;
    SymbolPageLook(r, {129, 204}, 1);
    r.RenderImage();
    r.Bevel()->SetBorderWidth(3); // 2 -> 5 pixels thick
    EXPECT_EQ(r.size(), QSize(125 + 10, 200 + 10));
    EXPECT_EQ(r.GetItemRect(0), QRect(5, 5, 25, 25));
    TVrBevel none;
    none.SetVisible(false);
    r.SetBevel(none);
    EXPECT_EQ(r.size(), QSize(125, 200));
    r.RenderImage();
    EXPECT_EQ(r.size(), QSize(125, 200));
}

TEST(TVrRaster, CellFrameStyles) {
    // Top-left pixels of the first two rings of an unlit and a lit cell (spacing 0, cell 0 at (2, 2)).
    const struct {
        TVrRasterStyle style;
        TColor offRing1, offRing2, onRing1, onRing2;
    } cases[] = {
        {rsRaised, clBlack, clLime, clBlack, clBtnHighlight},
        {rsLowered, clBtnShadow, clBlack, clBtnShadow, clBlack},
        {rsFlat, clBlack, kDarkGreen, clBlack, clLime},
        {rsNone, kDarkGreen, kDarkGreen, clLime, clLime},
    };
    for (const auto& c : cases) {
        TVrRaster r;
        SymbolPageLook(r, {129, 204}, 0);
        r.SetStyle(c.style);
        r.Items(1)->SetActive(true);
        const QImage img = r.RenderImage();
        EXPECT_EQ(Px(img, 2, 2), Resolved(c.offRing1)) << c.style;
        EXPECT_EQ(Px(img, 3, 3), Resolved(c.offRing2)) << c.style;
        EXPECT_EQ(Px(img, 27, 2), Resolved(c.onRing1)) << c.style;
        EXPECT_EQ(Px(img, 28, 3), Resolved(c.onRing2)) << c.style;
    }
}

TEST(TVrRaster, GradientCellsFadeToBlack) {
    TVrRaster r;
    SymbolPageLook(r, {129, 204}, 0);
    r.SetPlainColors(false);
    r.Items(0)->SetActive(true);
    const QImage img = r.RenderImage();
    // Flat frame at 2 and 26; interior rows 3..25 run from lime down towards black.
    EXPECT_EQ(Px(img, 10, 3), clLime);
    const QColor low = img.pixelColor(10, 24);
    EXPECT_LT(low.green(), 30);
    EXPECT_GT(img.pixelColor(10, 12).green(), img.pixelColor(10, 20).green());
}

TEST(TVrRaster, TheArrowsMoveTheKeyboardCellWhichCarriesTheFocusFrame) {
    QWidget window;
    auto* editor = new TVrRaster(&window);
    SymbolPageLook(*editor, {129, 204}, 1);
    editor->setFocusPolicy(Qt::TabFocus);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    window.setAttribute(Qt::WA_KeyboardFocusChange); // the keyboard moves the focus in this window
    editor->setFocus();
    ASSERT_TRUE(editor->FocusShown());
    EXPECT_EQ(editor->KeyCell(), 0);

    const struct {
        Qt::Key key;
        int times;
        int cell;
    } moves[] = {{Qt::Key_Left, 1, 0},  {Qt::Key_Up, 1, 0},    {Qt::Key_Right, 2, 2}, {Qt::Key_Down, 1, 7},
                 {Qt::Key_Right, 9, 9}, {Qt::Key_Down, 9, 39}, {Qt::Key_Left, 2, 37}, {Qt::Key_Up, 7, 2}};
    for (const auto& m : moves) {
        for (int i = 0; i < m.times; ++i)
            QTest::keyClick(editor, m.key);
        EXPECT_EQ(editor->KeyCell(), m.cell)
            << m.key << " x" << m.times << ": a row's and a column's ends hold";
    }
    const QImage focused = editor->RenderImage();
    editor->clearFocus();
    const QImage unfocused = editor->RenderImage();
    EXPECT_NE(focused, unfocused);
    // Cell 2's black square, 23 x 23 inside its one-pixel spacing.
    editor->setFocus();
    EXPECT_EQ(focused, WithFocusFrame(unfocused, *editor, QRect(53, 3, 23, 23), editor->ResolvedColor()));
}
