#pragma once

#include "TColor.h"

#include <QAccessible>
#include <QWidget>

class QPainter;

// What both control bases share: the repaint protocol, the colour and caption every widget has,
// mouse enter/leave tracking and the toolkit events every widget publishes.
//
// Events are Qt signals named as the widgets' events, each with the sending widget first, so one
// handler can serve a bank of widgets: connect(led, &TVrUserLed::OnMouseDown, this, &TF1::ledMouseDown).
// They are emitted from virtual hooks (MouseDown, MouseUp, Click, ...) so that a widget decides
// whether its own behaviour runs before or after the event, by where it calls the base hook.
//
// Properties are getter/setter pairs named after the property: Position() / SetPosition(int).
// Setters store only a differing value and end with UpdateControlCanvas().
//
// All calls belong to the user-interface thread.
class VrControl : public QWidget {
    Q_OBJECT
public:
    explicit VrControl(QWidget* parent = nullptr);

    static QString Version() { return QStringLiteral("1.3"); }

    // Bracket several changes into one repaint.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

    // While loading, setters only store values (a form is being built); EndLoading repaints once.
    void BeginLoading() { m_loading = true; }
    void EndLoading();
    bool IsLoading() const { return m_loading; }

    // Repaints at once (not deferred) unless loading or inside BeginUpdate/EndUpdate.
    virtual void UpdateControlCanvas();

    // Draws the control's whole picture with its top-left corner at the painter's origin.
    virtual void PaintTo(QPainter& Canvas);
    // The control's picture as an image of its size, drawn through PaintTo (no display needed); at a
    // Ratio above 1 drawn as a screen with that many device pixels per pixel shows it (the image
    // carries the ratio).
    QImage RenderImage(qreal Ratio = 1.0);

    TColor Color() const { return m_color; }
    void SetColor(TColor Value);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool Value);
    // The background colour as drawn. With ParentColor the colour the parent actually paints under the
    // control (a styled group box's face, a tab page's pane), or the parent's own under one of these
    // widgets.
    QColor ResolvedColor() const;

    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor Value);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& Value);

    // The cursor number (see TVrCursors); 0 is the default cursor.
    int Cursor() const { return m_cursor; }
    void SetCursor(int Value);

    bool MouseInControl() const { return m_mouseInside; }

    // Whether the control holds the keyboard focus (kept from the focus events). Windowless controls
    // take it only where the application gives them a focus policy.
    bool Focused() const { return m_focused; }
    // Whether the control draws its focus: it holds the focus and the keyboard put it there (the
    // window's keyboard-focus flag, which Qt's styles follow too). So the focus shows once Tab has
    // been used, and a mouse user never sees it.
    bool FocusShown() const;

signals:
    void OnClick(QObject* Sender);
    void OnDblClick(QObject* Sender);
    void OnMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseMove(QObject* Sender, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseEnter(QObject* Sender);
    void OnMouseLeave(QObject* Sender);
    // Keys reach a control that holds the focus; key codes are Qt::Key values.
    void OnKeyDown(QObject* Sender, int Key, Qt::KeyboardModifiers Shift);
    void OnKeyUp(QObject* Sender, int Key, Qt::KeyboardModifiers Shift);
    void OnKeyPress(QObject* Sender, QChar Key);

protected:
    // The widget's drawing. Windowless controls draw on the screen painter, image controls on
    // their back buffer.
    virtual void Paint(QPainter& Canvas);

    virtual void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void FontChanged() {}
    virtual void TextChanged() {}
    virtual void ColorChanged();
    virtual void EnabledChanged() {}
    virtual void Loaded() {}
    virtual void KeyDown(int Key, Qt::KeyboardModifiers Shift);
    virtual void KeyUp(int Key, Qt::KeyboardModifiers Shift);
    virtual void KeyPress(QChar Key);
    // Focus gained (true) or lost; the base records it.
    virtual void FocusChanged(bool Focused);

    // The platform style's focus frame on Rect, for the widgets whose design draws no focus of their own.
    void PaintFocusFrame(QPainter& Canvas, const QRect& Rect) const;
    // Tell assistive technology of a change the user can see (nothing happens while none listens).
    void AccessibleStateChanged(QAccessible::State Changed);
    void AccessibleValueChanged(const QVariant& Value);

    // Fills the control's rectangle with its background: with ParentColor under a parent that is not
    // one of these widgets, the picture the parent paints there (its frames included), so the control
    // shows no box of a colour of its own; otherwise ResolvedColor.
    void PaintBackground(QPainter& Canvas) const;
    // Fills Area with Color, except that the face colour (clBtnFace) shows what the parent actually
    // paints there: where these widgets come from, the face colour is the colour of the window and the
    // pages a control sits on, and a style paints those in shades of its own. For the parts of a
    // control meant to vanish into its surroundings (a link's background, a switch's idle border).
    void PaintFace(QPainter& Canvas, const QRegion& Area, TColor Color) const;

    // Control style: a left press and release inside fires Click; a double click fires DblClick
    // (otherwise its second press is an ordinary press).
    void SetClickEvents(bool Value) { m_clickEvents = Value; }
    void SetDoubleClicks(bool Value) { m_doubleClicks = Value; }

    // A cursor shape shown over part of the control, and back to the control's own Cursor.
    void ShowCursorShape(int CursorId);
    void RestoreCursorShape();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void SetMouseInside(bool Inside);

    int m_updateCount = 0;
    bool m_loading = false;
    TColor m_color = clBtnFace;
    bool m_parentColor = false;
    TColor m_fontColor = clWindowText;
    QString m_caption;
    int m_cursor = 0;
    int m_shownCursor = 0; // the shape shown now: m_cursor, or one a widget shows over a part of it
    bool m_clickEvents = true;
    bool m_doubleClicks = true;
    bool m_clickPending = false;
    bool m_mouseInside = false;
    bool m_focused = false;
};
