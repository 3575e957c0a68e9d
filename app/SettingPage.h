#pragma once

#include "app/TerminalPage.h"
#include "app/TkmFiles.h"
#include "files/SettingsFile.h"

#include <QString>

#include <optional>

namespace tkm::terminal {
class ConfigurationProcedure;
}

class QComboBox;
class QGroupBox;
class QPushButton;
class ConnectionPanel;
class FileDialog;
class IniFile;
class TVrTrackBar;

// The Setting page: the terminal's configuration (new address, baud rate, code page, checksum mode),
// written to the terminal and kept in settings files. Entering it shows the cached configuration on
// the terminal's display.
//
// Writing a new baud rate or checksum mode needs the terminal in init mode (address 0, 9600 baud,
// checksum off after a power-up with its init pin connected): the page guides the user through the
// power cycle and moves the connection panel to those settings. User-interface thread only.
class SettingPage : public TerminalPage {
    Q_OBJECT
public:
    // The settings file's keys.
    static constexpr const char* kSection = SettingsFile::kSection;

    // The warning shown before the initialisation procedure.
    static const QString kPowerCycleText;

    explicit SettingPage(TerminalConnection& connection, QWidget* parent = nullptr);

    // What the window gives the page once it is built.
    void setConnectionPanel(ConnectionPanel* panel) { panel_ = panel; }
    void setFileDialogs(FileDialog* openDialog, FileDialog* saveDialog);

    void Enter() override;
    QList<QWidget*> TabOrder() const override;

    // ---- Handlers ----
    void AdrNewChange();
    void Button1Click(); // "-"
    void Button2Click(); // "+"
    void ReadSettingClick();
    void Button3Click(); // "Default setting"
    void SaveSettignClick();
    void Button16Click(); // "Read in file"
    void Button17Click(); // "Save to file"

    // Components (objectName = the member's name)
    QGroupBox* GroupBox2 = nullptr;
    TVrTrackBar* AdrNew = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QComboBox* BRNew = nullptr;
    QComboBox* CodePage = nullptr;
    QComboBox* CheckSum = nullptr;
    QPushButton* ReadSetting = nullptr;
    QPushButton* SaveSettign = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button16 = nullptr;
    QPushButton* Button17 = nullptr;

private:
    void connectHandlers();
    // Takes the procedure's terminal to init mode with the user's help and finds it there; false when
    // cancelled, not found, or left by the user between its steps (nothing is to be sent then).
    bool RunInitialisation(tkm::terminal::ConfigurationProcedure& procedure);
    void ReadFile(const IniFile& file);

    ConnectionPanel* panel_ = nullptr;
    std::optional<TkmFiles> files_;
    bool saving_ = false;
};
