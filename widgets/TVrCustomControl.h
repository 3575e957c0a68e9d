#pragma once

#include "VrControl.h"

// Base of the windowed widgets: TabStop, and the focus events. Key codes are Qt::Key values.
class TVrCustomControl : public VrControl {
    Q_OBJECT
public:
    explicit TVrCustomControl(QWidget* parent = nullptr);

    // Whether Tab reaches the control and, for the widgets that say so, a click focuses it. An
    // application that wants the keyboard to reach a control while clicks leave the focus where it
    // was gives it a tab-only focus policy (Qt::TabFocus) and leaves TabStop off.
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool Value);

signals:
    void OnEnter(QObject* Sender);
    void OnExit(QObject* Sender);

protected:
    // The base records the focus and fires OnEnter / OnExit.
    void FocusChanged(bool Focused) override;

private:
    bool m_tabStop = false;
};
