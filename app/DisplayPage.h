#pragma once

#include "app/TerminalPage.h"
#include "files/TerminalText.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TVrNumEdit;
class TVrUserLed;

// The Display page: text, cursor, lamps and display settings of the terminal, driven by hand. It has
// no test screen and no poll: entering it only clears the display. A failed exchange loses the
// terminal without a message.
class DisplayPage : public TerminalPage {
    Q_OBJECT
public:
    // The display takes this many characters of one text.
    static constexpr int kMaxTextLength = TerminalText::kDisplayTextLength;

    explicit DisplayPage(TerminalConnection& connection, QWidget* parent = nullptr);

    QList<QWidget*> TabOrder() const override;

    // ---- Handlers ----
    // Enter sends the text (with the terminal's longer wait), Escape clears the display; both are
    // consumed. Returns true when the key was consumed.
    bool Edit1KeyPress(int key);
    // After every key: the text cut to kMaxTextLength, caret after it, and its length on LStr.
    void Edit1KeyUp();
    void Button12Click(); // Send
    void Button11Click(); // Clear
    void Button13Click(); // Set Cursor
    void CXChange();
    void CYChange();
    void Led1MouseDown();
    void Led2MouseDown();
    void Button14Click(); // Use Setting
    void Button15Click(); // Default setting

    // Components (objectName = the member's name)
    QCheckBox* EnDispl = nullptr;
    QCheckBox* BCurs = nullptr;
    QCheckBox* Scurs = nullptr;
    QCheckBox* EEPDispl = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* LStr = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button11 = nullptr;
    TVrUserLed* Led1 = nullptr;
    TVrUserLed* Led2 = nullptr;
    TVrNumEdit* CX = nullptr;
    TVrNumEdit* CY = nullptr;
    QPushButton* Button13 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SendText(bool byEnterKey);
    void ClearDisplay();
    void SwitchLamp(TVrUserLed* lamp, int indicator);
    void LimitCursorEdit(TVrNumEdit* edit, double maximum);
    // The result of an exchange whose failure means the terminal is lost.
    void Check(const std::string& result);
};
