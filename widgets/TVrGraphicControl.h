#pragma once

#include "VrControl.h"

// Base of the windowless widgets: no focus of their own (an application may give them a focus policy).
class TVrGraphicControl : public VrControl {
    Q_OBJECT
public:
    explicit TVrGraphicControl(QWidget* parent = nullptr);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool Value);

protected:
    // With AutoSize, apply the bounds again so that size constraints act; otherwise repaint.
    virtual void UpdateControlBounds();
    // Unless loading: apply the current bounds again and repaint if they changed.
    virtual void AdjustControlSize();

private:
    bool m_autoSize = false;
};
