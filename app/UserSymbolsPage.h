#pragma once

#include "app/TerminalPage.h"
#include "app/TkmFiles.h"
#include "files/SymbolFile.h"

#include <array>
#include <optional>
#include <string>

class FileDialog;
class QLineEdit;
class QPushButton;
class RadioGroup;
class TVrRaster;

// The UserSymbols page: the program's table of the eight 5x8 user symbols, shown on the small rasters
// US0..US7 and edited on US8 (the selected symbol). Entering it shows the symbols on the terminal.
//
// A code is held as it came: drawn codes are upper case with bits 7..5 clear, codes read from a file
// may be lower case or have those bits set, and are sent unchanged until the symbol is edited, when
// the code is rebuilt from the dots. User-interface thread only.
class UserSymbolsPage : public TerminalPage {
    Q_OBJECT
public:
    static constexpr int kSymbols = SymbolFile::kSymbols;

    // The symbol file's section; its keys are the symbol numbers "0".."7".
    static constexpr const char* kSection = SymbolFile::kSection;

    explicit UserSymbolsPage(TerminalConnection& connection, QWidget* parent = nullptr);

    // What the window gives the page once it is built.
    void setFileDialogs(FileDialog* openDialog, FileDialog* saveDialog);

    void Enter() override;
    QList<QWidget*> TabOrder() const override;

    // ---- Handlers ----
    void USMouseDown(int k);         // US0MouseDown .. US7MouseDown: a click on small raster US<k>
    void US8MouseDown(int x, int y); // any mouse button, pixels relative to the editor
    void US8SpaceKey();              // inverts the editor's keyboard dot
    void SUSClick();
    void InvUSClick();
    void ClearUSClick();
    void SaveSymClick();
    void SaveAllSymClick();
    void Button5Click(); // "Read in file"
    void Button6Click(); // "Save to file"

    // The code of what the editor shows (upper case, bits 7..5 clear), also shown in USCode.
    std::string CodeFromEditor();

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
    void connectHandlers();
    TVrRaster* raster(int n) const;
    // The editor changed: its code becomes the selected symbol's, and that symbol's raster follows.
    void StoreEditedSymbol();
    // Inverts a dot of the editor and stores the symbol.
    void InvertEditorDot(int index);
    void SendSymbol(int n);
    // A file value as the table takes it: all zeros, after a message, when it is no symbol code.
    static std::string CheckedFileCode(int n, const std::string& value);

    std::array<std::string, kSymbols> codes_;
    std::optional<TkmFiles> files_;
    bool savingAll_ = false;
};
