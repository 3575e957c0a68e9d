#pragma once

#include "app/TerminalPage.h"

#include <array>
#include <string>

class QLineEdit;
class QPushButton;
class RadioGroup;
class TVrRaster;

// The UserSymbols page: the program's table of the eight 5x8 user symbols, shown on the small rasters
// US0..US7 and edited on US8 (the selected symbol). Entering it shows the symbols on the terminal.
class UserSymbolsPage : public TerminalPage {
    Q_OBJECT
public:
    static constexpr int kSymbols = 8;

    explicit UserSymbolsPage(TerminalConnection& connection, QWidget* parent = nullptr);

    void Enter() override;

    // Redraws raster US<n> (n 0..7) or the editor US8 (n = 8) from the table and shows the selected
    // symbol's code.
    void RedrawSymbol(int n);
    int selectedSymbol() const;
    // Symbol code n (0..7) as held: 16 hex digits, as drawn or as read from a file.
    const std::string& symbolCode(int n) const;
    void setSymbolCode(int n, const std::string& code);

    // Components (objectName = the member's name; rasters US0..US8 are found by name)
    RadioGroup* SUS = nullptr;
    QLineEdit* USCode = nullptr;
    QPushButton* InvUS = nullptr;
    QPushButton* ClearUS = nullptr;
    QPushButton* SaveSym = nullptr;
    QPushButton* SaveAllSym = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;

private:
    std::array<std::string, kSymbols> codes_;
};
