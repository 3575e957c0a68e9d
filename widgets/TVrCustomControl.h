#pragma once

#include "VrControl.h"

// Base of the windowed widgets: can hold the keyboard focus and publishes the key and focus
// events. Key codes are Qt::Key values.
class TVrCustomControl : public VrControl {
    Q_OBJECT
public:
    explicit TVrCustomControl(QWidget* parent = nullptr);

    // Whether Tab reaches the control (and, for the widgets that say so, a click focuses it).
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool Value);

    // Whether the control holds the keyboard focus (kept from the focus events).
    bool Focused() const { return m_focused; }

signals:
    void OnKeyDown(QObject* Sender, int Key, Qt::KeyboardModifiers Shift);
    void OnKeyUp(QObject* Sender, int Key, Qt::KeyboardModifiers Shift);
    void OnKeyPress(QObject* Sender, QChar Key);
    void OnEnter(QObject* Sender);
    void OnExit(QObject* Sender);

protected:
    virtual void KeyDown(int Key, Qt::KeyboardModifiers Shift);
    virtual void KeyUp(int Key, Qt::KeyboardModifiers Shift);
    virtual void KeyPress(QChar Key);
    // Focus gained (true) or lost; the base records it and fires OnEnter / OnExit.
    virtual void FocusChanged(bool Focused);

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_tabStop = false;
    bool m_focused = false;
};
