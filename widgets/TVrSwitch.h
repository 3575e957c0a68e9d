#pragma once

#include "TVrBevel.h"
#include "TVrBitmapList.h"
#include "TVrCustomImageControl.h"
#include "VrBitmapListLink.h"
#include "VrSwitchGeometry.h"
#include "Vrtypes.h"

#include <QFlags>
#include <QImage>

enum TVrSwitchOption {
    soActiveClick = 0x01, // a click beside the thumb jumps to the nearest stop
    soMouseClip = 0x02,   // the pointer stays inside the control while dragging
    soHandPoint = 0x04,   // the hand cursor over the thumb
    soThumbOpaque = 0x08, // the thumb image is copied without a transparent colour
};
Q_DECLARE_FLAGS(TVrSwitchOptions, TVrSwitchOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TVrSwitchOptions)

// A multi-position slide switch: a track of Positions stops and a bitmap thumb on stop Offset.
// The user drags the thumb, clicks beside it or uses the keys (Home, End, the arrows along the track,
// and Space for the next stop); the program sets Offset. Every change
// of Offset, by the user or by the program, fires OnChange. The control fits its own size to the
// thumb and the number of stops. User-interface thread only.
class TVrSwitch : public TVrCustomImageControl {
    Q_OBJECT
public:
    explicit TVrSwitch(QWidget* parent = nullptr);
    ~TVrSwitch() override;

    int Positions() const { return m_positions; }
    // 2 or more; Offset is not clamped until it is next set.
    void SetPositions(int Value);
    int Offset() const { return m_offset; }
    // Clamped to 0 .. Positions - 1; fires OnChange when it changes.
    void SetOffset(int Value);
    TVrOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TVrOrientation Value);
    TVrProgressStyle Style() const { return m_style; }
    void SetStyle(TVrProgressStyle Value);
    int BackImageIndex() const { return m_backImageIndex; }
    void SetBackImageIndex(int Value);
    int ThumbImageIndex() const { return m_thumbImageIndex; }
    void SetThumbImageIndex(int Value);
    TVrBitmapList* BitmapList() const { return m_bitmaps.List(); }
    void SetBitmapList(TVrBitmapList* Value);
    // Frames side by side in the thumb image (1..4; other values are ignored).
    int ThumbStates() const { return m_thumbStates; }
    void SetThumbStates(int Value);
    int ThumbIndent() const { return m_thumbIndent; }
    void SetThumbIndent(int Value);
    TVrBevel* Bevel() { return &m_bevel; }
    void SetBevel(const TVrBevel& Value) { m_bevel.Assign(Value); }
    TVrSwitchOptions Options() const { return m_options; }
    void SetOptions(TVrSwitchOptions Value);
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int Value);
    TColor FocusColor() const { return m_focusColor; }
    void SetFocusColor(TColor Value);

    // Where the thumb sits for the present size and Offset.
    QRect ThumbRect() const;
    QSize ThumbSize() const { return m_thumbSize; }
    bool Dragging() const { return m_dragging; }
    bool Hovering() const { return m_hover; }

signals:
    void OnChange(QObject* Sender);

protected:
    void Paint(QPainter& Canvas) override;
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseLeave() override;
    void KeyDown(int Key, Qt::KeyboardModifiers Shift) override;
    void KeyUp(int Key, Qt::KeyboardModifiers Shift) override;
    void FocusChanged(bool Focused) override;
    void EnabledChanged() override;
    void Loaded() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    VrSwitchLayout Layout() const;
    void LoadThumb();
    void FitSize();
    void MoveThumbTo(int Pos);
    void SetHover(bool Value);
    void UpdateCursorShape(QPoint Pos);

    int m_positions = 4;
    int m_offset = 0;
    TVrOrientation m_orientation = voVertical;
    TVrProgressStyle m_style = psBottomLeft;
    int m_backImageIndex = -1;
    int m_thumbImageIndex = -1;
    VrBitmapListLink m_bitmaps;
    int m_thumbStates = 1;
    int m_thumbIndent = 1;
    TVrBevel m_bevel;
    TVrSwitchOptions m_options = soActiveClick | soMouseClip | soHandPoint | soThumbOpaque;
    TColor m_borderColor = clBtnFace;
    int m_borderWidth = 1;
    TColor m_focusColor = clBlue;

    QImage m_thumbImage;
    QSize m_thumbSize;
    bool m_dragging = false;
    int m_grabOffset = 0;
    bool m_hover = false;
};
