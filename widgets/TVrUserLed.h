#pragma once

#include "TVrBevel.h"
#include "TVrGraphicControl.h"
#include "TVrPaletteEx.h"

enum TVrDrawStyle { dsOwnerDraw, dsNormal };

// A rectangular two-state lamp: an optional outline, a bevel and a vertical two-colour gradient
// chosen by the state. It has no mouse or key behaviour of its own; the application handles
// OnMouseDown and, where it gives the LED a focus policy, its key events.
class TVrUserLed : public TVrGraphicControl {
    Q_OBJECT
public:
    explicit TVrUserLed(QWidget* parent = nullptr);

    TVrBevel* Bevel() { return &m_bevel; }
    void SetBevel(const TVrBevel& Value) { m_bevel.Assign(Value); }
    // Off colours Low1 (top) / Low2 (bottom), on colours High1 / High2.
    TVrPaletteEx* PaletteEx() { return &m_paletteEx; }
    void SetPaletteEx(const TVrPaletteEx& Value) { m_paletteEx.Assign(Value); }

    bool Active() const { return m_active; }
    void SetActive(bool Value);
    TColor OutlineColor() const { return m_outlineColor; }
    void SetOutlineColor(TColor Value);
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int Value);
    TVrDrawStyle DrawStyle() const { return m_drawStyle; }
    void SetDrawStyle(TVrDrawStyle Value);

signals:
    // After Active changed, except while the LED is being loaded.
    void OnChange(QObject* Sender);
    // Owner drawing (DrawStyle dsOwnerDraw) on the LED's client rectangle.
    void OnDraw(QObject* Sender, QPainter* Canvas, QRect Rect);

protected:
    void Paint(QPainter& Canvas) override;
    // An LED the application lets the keyboard reach shows the platform's focus frame.
    void FocusChanged(bool Focused) override;

private:
    TVrBevel m_bevel;
    TVrPaletteEx m_paletteEx;
    bool m_active = false;
    TColor m_outlineColor = clBlack;
    int m_outlineWidth = 0;
    TVrDrawStyle m_drawStyle = dsNormal;
};
