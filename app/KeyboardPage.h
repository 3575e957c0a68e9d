#pragma once

#include "app/TerminalPage.h"

#include <array>

class QColor;
class QLabel;
class QPushButton;
class QTimer;
class TVrPowerButton;

// The Keyboard page: thirty key panels B1..B30 that light up when the terminal reports their keys and
// fade on the highlight tick, unless Fix holds them.
class KeyboardPage : public TerminalPage {
    Q_OBJECT
public:
    static constexpr int kKeys = 30;
    // Highlight ticks a reported key stays lit after its last report.
    static constexpr int kHighlightTicks = 3;

    explicit KeyboardPage(TerminalConnection& connection, QWidget* parent = nullptr);

    QList<QWidget*> TabOrder() const override;

    void Enter() override;

    // The keyboard poll: the keys pressed since the last one light their panels and are echoed on the
    // terminal's display. False when the terminal is not found or its answer is not a key list.
    bool HasPoll() const override { return true; }
    bool Poll() override;

    // The highlight tick: counters above 0 run down, panels at 0 return to the button face. Held while
    // Fix is on and the terminal is found. Returns whether a panel is still lit, so that the tick need
    // not run while none is.
    bool HighlightTick(bool terminalFound);

    void FixClick();
    void ClearKeyClick();
    // The fade tick: runs the highlight tick and rests while no panel is lit.
    void Timer3Timer();

    // Key panel "B" + k (k 1..30), else nullptr.
    QLabel* keyPanel(int k) const;
    void setKeyPanelColor(int k, const QColor& color);
    int highlight(int k) const;
    void setHighlight(int k, int ticks);

    // Components (objectName = the member's name; key panels B1..B30 through keyPanel())
    TVrPowerButton* Fix = nullptr;
    QPushButton* ClearKey = nullptr;
    // The fade timer (150 ms), started again by a lit panel.
    QTimer* Timer3 = nullptr;

private:
    bool anyLit() const;

    std::array<QLabel*, kKeys + 1> panels_{}; // index 1..30
    std::array<int, kKeys + 1> highlight_{};  // index 1..30: ticks a panel stays lit
};
