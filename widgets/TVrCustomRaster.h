#pragma once

#include "TVrBevel.h"
#include "TVrGraphicImageControl.h"
#include "TVrPalette.h"
#include "TVrRasterLeds.h"
#include "VrRasterGeometry.h"

class TVrRasterLed;

enum TVrRasterStyle { rsRaised, rsLowered, rsNone, rsFlat };

// A windowless grid of on/off dots inside a bevel. It fits its size to a whole number of cells at
// every paint and redraws a single dot, and nothing else, when that dot changes. It has no mouse
// handling of its own: CellAt maps a point to a dot for the application. Where the application gives
// it a focus policy, the arrows move a keyboard cell over the dots (KeyCell), which carries the
// platform's focus frame; the application acts on the other keys.
// User-interface thread only.
class TVrCustomRaster : public TVrGraphicImageControl {
    Q_OBJECT
public:
    explicit TVrCustomRaster(QWidget* parent = nullptr);

    int Columns() const { return m_columns; }
    // Recreates all dots switched off. Counts below 1 are ignored (they leave no cell to divide into).
    void SetColumns(int Value);
    int Rows() const { return m_rows; }
    void SetRows(int Value);
    TVrRasterStyle Style() const { return m_style; }
    void SetStyle(TVrRasterStyle Value);
    // Low: the colour of an unlit dot, High: of a lit one.
    TVrPalette* Palette() { return &m_palette; }
    void SetPalette(const TVrPalette& Value) { m_palette.Assign(Value); }
    bool PlainColors() const { return m_plainColors; }
    void SetPlainColors(bool Value);
    // False: at most one dot lit; lighting one switches the others off.
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool Value);
    // Gap around each dot inside its cell; negative values are ignored.
    int Spacing() const { return m_spacing; }
    void SetSpacing(int Value);
    // A bevel change keeps the cell area and fits the control around it.
    TVrBevel* Bevel() { return &m_bevel; }
    void SetBevel(const TVrBevel& Value) { m_bevel.Assign(Value); }

    int Count() const { return m_leds.Count(); }
    TVrRasterLed* Items(int Index) const { return m_leds.Items(Index); }
    TVrRasterLeds* Leds() { return &m_leds; }
    // Sets every dot but the one at Except (-1: none) to Value.
    void SetActiveState(int Except, bool Value);

    // The geometry for the present size and bevel.
    VrRasterGeometry Geometry() const;
    // The cell (slot) of dot Index.
    QRect GetItemRect(int Index) const;
    // The dot under Point, or -1.
    int CellAt(QPoint Point) const;
    // The dot the keyboard is on (0, the top-left, at first); clamped to the dots there are.
    int KeyCell() const { return m_keyCell; }
    void SetKeyCell(int Index);

    void PaintTo(QPainter& Canvas) override;

protected:
    void Paint(QPainter& Canvas) override;
    void Loaded() override;
    // The arrows move the keyboard cell within its row and column.
    void KeyDown(int Key, Qt::KeyboardModifiers Shift) override;
    void FocusChanged(bool Focused) override;

private:
    friend class TVrRasterLeds;
    // A dot changed state: redraw it (and, without MultiSelect, the dots it switched off).
    void LedChanged(int Index);
    // Without MultiSelect, a lit dot switches every other dot off; returns the dots it changed.
    QList<int> EnforceSingle(int Index);
    void DrawLed(QPainter& Canvas, const VrRasterGeometry& Geometry, int Index) const;
    // Redraws these dots in the back buffer and shows them (the whole picture when the buffer is stale).
    void RedrawLeds(const QList<int>& Indices);
    // The keyboard cell's focus frame, over its dot, while the focus is shown.
    void DrawKeyCellFrame(QPainter& Canvas, const VrRasterGeometry& Geometry) const;
    // Tells assistive technology that dot Index changed state, or that the keyboard moved to it.
    void AccessibleCellEvent(int Index, QAccessible::Event Event);
    void RecreateLeds();
    void BevelChanged();

    TVrRasterLeds m_leds;
    TVrPalette m_palette;
    TVrBevel m_bevel;
    int m_columns = 5;
    int m_rows = 5;
    TVrRasterStyle m_style = rsLowered;
    bool m_plainColors = true;
    bool m_multiSelect = true;
    int m_spacing = 2;
    int m_keyCell = 0;
    // Bevel thickness the present size was laid out for, so a bevel change can keep the cells.
    int m_layoutThickness = 0;
};
