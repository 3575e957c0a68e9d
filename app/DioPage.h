#pragma once

#include "app/TerminalPage.h"

#include "terminal/TerminalLine.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class TVrSwitch;
class TVrUserLed;

// The DIO page: the eight digital lines' states (DIO0..7), directions (switches DDIO0..7 with labels
// CDDIO0..7) and power-on and safe values (PON0..7, SAFE0..7). Line k is bit 7 - k of every byte;
// its widgets stand in the column 7 - k from the left, under the caption 7 - k.
//
// While the page is shown, each poll either reads the lines or, when an output LED was clicked since
// the last exchange, writes the LEDs' byte. Directions, power-on and safe values are read by the
// identification and saved from here; every save loses the terminal so that the next identification
// shows what it stored. User-interface thread only.
class DioPage : public TerminalPage {
    Q_OBJECT
public:
    explicit DioPage(TerminalConnection& connection, QWidget* parent = nullptr);

    void Enter() override;
    // Row by row, left to right: the lines' LEDs, their switches, Read and Save, the power-on and
    // the safe LEDs, their save buttons.
    QList<QWidget*> TabOrder() const override;
    bool HasPoll() const override { return true; }
    // With the terminal found: reads the lines onto the DIO LEDs, or writes the LEDs' byte when it
    // differs from the line state (an output was clicked). Without it the LEDs go dark. False when the
    // terminal is not found or the exchange failed.
    bool Poll() override;

    // LED bank prefix+"0".."7" ("DIO", "PON", "SAFE"): prefix0 shows bit 7. An empty value counts as "00".
    void ShowLedBank(const QString& prefix, const std::string& hexByte);
    // The byte the lit LEDs of a bank show, as two upper-case hex digits.
    std::string ReadLedBank(const QString& prefix) const;
    // Direction byte (set bit = input) onto the switches and their labels; disables Save.
    void ShowDirections(const std::string& hexByte);
    // The direction byte the switches show: the sum of 128 >> k over lines whose switch is at 0 (input).
    int DirectionsFromSwitches() const;

    // ---- Handlers ----
    // A click on line k's LED inverts it, only with the terminal found and line k not labelled "IN".
    void DIO0MouseDown() { ToggleOutput(0); }
    void DIO1MouseDown() { ToggleOutput(1); }
    void DIO2MouseDown() { ToggleOutput(2); }
    void DIO3MouseDown() { ToggleOutput(3); }
    void DIO4MouseDown() { ToggleOutput(4); }
    void DIO5MouseDown() { ToggleOutput(5); }
    void DIO6MouseDown() { ToggleOutput(6); }
    void DIO7MouseDown() { ToggleOutput(7); }
    // Line k's switch moved: its label follows and Save is enabled.
    void DDIO0Change() { DirectionChange(0); }
    void DDIO1Change() { DirectionChange(1); }
    void DDIO2Change() { DirectionChange(2); }
    void DDIO3Change() { DirectionChange(3); }
    void DDIO4Change() { DirectionChange(4); }
    void DDIO5Change() { DirectionChange(5); }
    void DDIO6Change() { DirectionChange(6); }
    void DDIO7Change() { DirectionChange(7); }
    void Button7Click();  // Read: the cached directions again, unsaved changes dropped
    void Button8Click();  // Save the directions
    void Button9Click();  // Save PON: the present outputs become the power-on state
    void Button10Click(); // Save Safe: the present outputs become the safe state

    // Components (objectName = the member's name; the line widgets DIOk, DDIOk, CDDIOk, PONk, SAFEk)
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;

private:
    // Directions, power-on and safe values from the cached device data.
    void ShowDeviceData();
    void ToggleOutput(int line);
    void DirectionChange(int line);
    // A save (its reply is not looked at: the identification that follows shows what the terminal
    // took), only with the terminal found; then the terminal is lost.
    void SaveAndReidentify(const std::function<tkm::terminal::Result<>(TerminalConnection&)>& save);
    void connectHandlers();
    std::array<TVrUserLed*, 8> bank(const QString& prefix) const;
    static std::uint8_t bit(int line) { return static_cast<std::uint8_t>(0x80 >> line); }

    // Line k's widgets, filled once.
    struct Line {
        TVrUserLed* led = nullptr;      // its state; a click toggles an output
        TVrSwitch* direction = nullptr; // at 0 input, at 1 output
        QLabel* caption = nullptr;      // "IN" / "OUT" under the switch
        TVrUserLed* powerOn = nullptr;
        TVrUserLed* safe = nullptr;
    };
    std::array<Line, 8> lines_{};
    // The directions as the switches show them (set bit = input) and the byte the line LEDs show.
    std::uint8_t directions_ = 0xFF;
    std::uint8_t outputs_ = 0;
};
