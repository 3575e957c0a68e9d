#pragma once

#include "TVrBevel.h"
#include "TVrBitmapList.h"
#include "TVrCustomImageControl.h"
#include "VrBitmapListLink.h"
#include "VrTrackBarGeometry.h"
#include "Vrtypes.h"

#include <QFlags>
#include <QImage>

enum TVrTrackBarOption {
    toActiveClick = 0x01, // a click beside the thumb moves it there
    toMouseClip = 0x02,   // the pointer stays inside the control while dragging
    toHandPoint = 0x04,   // the hand cursor over the thumb
    toFixedPoints = 0x08, // the thumb snaps to multiples of Frequency
    toThumbOpaque = 0x10, // the thumb image is copied without a transparent colour
};
Q_DECLARE_FLAGS(TVrTrackBarOptions, TVrTrackBarOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TVrTrackBarOptions)

enum TVrTickMarks { tmNone, tmBoth, tmBottomRight, tmTopLeft };

// A slider for an integer Position between MinValue and MaxValue: a bevelled gutter, tick scales
// and a bitmap thumb the user drags or moves with the keys (Home to the maximum, End to the minimum,
// the arrows along the track and Page Up / Page Down by Frequency, the arrows across it by one).
// Every change of Position, by the user or the program, fires OnChange.
class TVrTrackBar : public TVrCustomImageControl {
    Q_OBJECT
public:
    explicit TVrTrackBar(QWidget* parent = nullptr);

    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int Value);
    int MinValue() const { return m_minValue; }
    void SetMinValue(int Value);
    int Position() const { return m_position; }
    // Clamped to MinValue .. MaxValue.
    void SetPosition(int Value);
    TVrOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TVrOrientation Value);
    TVrProgressStyle Style() const { return m_style; }
    void SetStyle(TVrProgressStyle Value);
    TVrTrackBarOptions Options() const { return m_options; }
    void SetOptions(TVrTrackBarOptions Value);
    int Frequency() const { return m_frequency; }
    void SetFrequency(int Value);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int Value);
    TVrBevel* GutterBevel() { return &m_gutterBevel; }
    void SetGutterBevel(const TVrBevel& Value) { m_gutterBevel.Assign(Value); }
    int GutterWidth() const { return m_gutterWidth; }
    void SetGutterWidth(int Value);
    TColor GutterColor() const { return m_gutterColor; }
    void SetGutterColor(TColor Value);
    TVrTickMarks TickMarks() const { return m_tickMarks; }
    void SetTickMarks(TVrTickMarks Value);
    TColor TickColor() const { return m_tickColor; }
    void SetTickColor(TColor Value);
    // Frames side by side in the thumb image, 1 .. 4.
    int ThumbStates() const { return m_thumbStates; }
    void SetThumbStates(int Value);
    int BackImageIndex() const { return m_backImageIndex; }
    void SetBackImageIndex(int Value);
    int ThumbImageIndex() const { return m_thumbImageIndex; }
    void SetThumbImageIndex(int Value);
    TVrBitmapList* BitmapList() const { return m_bitmaps.List(); }
    void SetBitmapList(TVrBitmapList* Value);
    int ScaleOffset() const { return m_scaleOffset; }
    void SetScaleOffset(int Value);
    TColor FocusColor() const { return m_focusColor; }
    void SetFocusColor(TColor Value);
    // Inset of the focus rectangle; negative: none.
    int FocusOffset() const { return m_focusOffset; }
    void SetFocusOffset(int Value);

    // The current arithmetic between values and pixels.
    VrTrackBarGeometry Geometry() const;
    QRect ThumbRect() const { return Geometry().ThumbRect(m_position).ToQRect(); }
    bool Dragging() const { return m_dragging; }

signals:
    // After Position changed.
    void OnChange(QObject* Sender);

protected:
    void Paint(QPainter& Canvas) override;
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseLeave() override;
    void KeyDown(int Key, Qt::KeyboardModifiers Shift) override;
    void FocusChanged(bool Focused) override;
    void EnabledChanged() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadThumbImage();
    void MoveThumbTo(int Pos);
    void DrawScale(QPainter& Canvas, const VrTrackBarGeometry& g, int baseline, int endLength,
                   int otherLength) const;
    bool Horizontal() const { return m_orientation == voHorizontal; }

    int m_maxValue = 100;
    int m_minValue = 0;
    int m_position = 0;
    TVrOrientation m_orientation = voHorizontal;
    TVrProgressStyle m_style = psBottomLeft;
    TVrTrackBarOptions m_options = toActiveClick | toMouseClip | toHandPoint | toThumbOpaque;
    int m_frequency = 10;
    int m_borderWidth = 10;
    TVrBevel m_gutterBevel;
    int m_gutterWidth = 9;
    TColor m_gutterColor = clBlack;
    TVrTickMarks m_tickMarks = tmBoth;
    TColor m_tickColor = clBlack;
    int m_thumbStates = 1;
    int m_backImageIndex = -1;
    int m_thumbImageIndex = -1;
    VrBitmapListLink m_bitmaps;
    int m_scaleOffset = 5;
    TColor m_focusColor = clBlack;
    int m_focusOffset = 0;

    QImage m_thumbImage;
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
    bool m_dragging = false;
    int m_grabOffset = 0;
    bool m_hover = false;
};
