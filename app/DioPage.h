#pragma once

#include "app/TerminalPage.h"

#include <QString>

#include <array>
#include <string>

class QLabel;
class QPushButton;
class TVrSwitch;
class TVrUserLed;

// The DIO page: the eight digital lines' states (DIO0..7), directions (switches DDIO0..7 with labels
// CDDIO0..7) and power-on and safe values (PON0..7, SAFE0..7). Line k is bit 7 - k of every byte;
// its widgets stand in the column 7 - k from the left, under the caption 7 - k.
class DioPage : public TerminalPage {
    Q_OBJECT
public:
    explicit DioPage(TerminalConnection& connection, QWidget* parent = nullptr);

    void Enter() override;

    // LED bank prefix+"0".."7" ("DIO", "PON", "SAFE"): prefix0 shows bit 7. An empty value counts as "00".
    void ShowLedBank(const QString& prefix, const std::string& hexByte);
    // The byte the lit LEDs of a bank show, as two upper-case hex digits.
    std::string ReadLedBank(const QString& prefix) const;
    // Direction byte (set bit = input) onto the switches and their labels; disables Save.
    void ShowDirections(const std::string& hexByte);

    // Components (objectName = the member's name; the line widgets are found by name)
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;

private:
    // Directions, power-on and safe values from the cached device data.
    void ShowDeviceData();
    std::array<TVrUserLed*, 8> bank(const QString& prefix) const;
};
