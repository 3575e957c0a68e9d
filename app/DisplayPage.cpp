#include "app/DisplayPage.h"

#include "app/AppDialogs.h"
#include "app/HandlerGuard.h"
#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"
#include "files/TerminalText.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"

#include "widgets/TVrNumEdit.h"
#include "widgets/TVrUserLed.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DisplayPage::DisplayPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("Display"), connection, parent) {
    auto* settings = place<QGroupBox>(this, "GroupBox3", 8, 8, 180, 150);
    settings->setTitle(QStringLiteral("Display Settings"));
    EnDispl = checkBox(settings, "EnDispl", QStringLiteral("Enabled display"), true, 10, 22);
    BCurs = checkBox(settings, "BCurs", QStringLiteral("Blinking cursor"), true, 10, 42);
    Scurs = checkBox(settings, "Scurs", QStringLiteral("Static cursor"), true, 10, 62);
    EEPDispl = checkBox(settings, "EEPDispl", QStringLiteral("Save to EEPROM"), false, 10, 82);
    QPalette maroon = EEPDispl->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    maroon.setColor(QPalette::ButtonText, QColor(128, 0, 0));
    EEPDispl->setPalette(maroon);
    Button14 = button(settings, "Button14", QStringLiteral("Use Setting"), 8, 112, 78);
    Button15 = button(settings, "Button15", QStringLiteral("Default setting"), 90, 112, 84);

    auto* display = place<QGroupBox>(this, "GroupBox4", 196, 8, 288, 150);
    display->setTitle(QStringLiteral("Display"));
    Edit1 = place<QLineEdit>(display, "Edit1", 10, 22, 268, 21);
    Edit1->setText(QStringLiteral("TKM-9214 "));
    LStr = label(display, QStringLiteral("LStr"), QStringLiteral("Length=9"), 10, 50, 100);
    Button12 = button(display, "Button12", QStringLiteral("Send"), 128, 47, 72);
    Button11 = button(display, "Button11", QStringLiteral("Clear"), 206, 47, 72);
    Led1 = lineLed(display, QStringLiteral("Led1"), 10, 86);
    label(display, QStringLiteral("LabelL1"), QStringLiteral("L1"), 44, 85, 20)->setBuddy(Led1);
    Led2 = lineLed(display, QStringLiteral("Led2"), 10, 114);
    label(display, QStringLiteral("LabelL2"), QStringLiteral("L2"), 44, 113, 20)->setBuddy(Led2);
    QLabel* labelX = label(display, QStringLiteral("LabelX"), QStringLiteral("X"), 86, 85, 12);
    CX = place<TVrNumEdit>(display, "CX", 100, 82, 44, 21);
    CX->SetMaxValue(19);
    QLabel* labelY = label(display, QStringLiteral("LabelY"), QStringLiteral("Y"), 86, 113, 12);
    CY = place<TVrNumEdit>(display, "CY", 100, 110, 44, 21);
    Button13 = button(display, "Button13", QStringLiteral("Set Cursor"), 160, 95, 90);

    // The lamps are switched from the keyboard too; the boxes are named by their labels.
    reachableByTab(Led1);
    reachableByTab(Led2);
    onSpace(Led1, this, [this] { Led1MouseDown(); });
    onSpace(Led2, this, [this] { Led2MouseDown(); });
    labelX->setBuddy(CX);
    labelY->setBuddy(CY);
    Edit1->setAccessibleName(QStringLiteral("Display text"));

    Edit1->installEventFilter(this);
    auto on = [this](auto* sender, auto signal, void (DisplayPage::*handler)()) {
        connect(sender, signal, this, HandlerGuard::slot(this, handler));
    };
    on(Button12, &QPushButton::clicked, &DisplayPage::Button12Click);
    on(Button11, &QPushButton::clicked, &DisplayPage::Button11Click);
    on(Button13, &QPushButton::clicked, &DisplayPage::Button13Click);
    on(Button14, &QPushButton::clicked, &DisplayPage::Button14Click);
    on(Button15, &QPushButton::clicked, &DisplayPage::Button15Click);
    on(CX, &TVrNumEdit::OnChange, &DisplayPage::CXChange);
    on(CY, &TVrNumEdit::OnChange, &DisplayPage::CYChange);
    on(Led1, &TVrUserLed::OnMouseDown, &DisplayPage::Led1MouseDown);
    on(Led2, &TVrUserLed::OnMouseDown, &DisplayPage::Led2MouseDown);
}

QList<QWidget*> DisplayPage::TabOrder() const {
    return {EnDispl,  BCurs,    Scurs, EEPDispl, Button14, Button15, Edit1,
            Button12, Button11, Led1,  Led2,     CX,       CY,       Button13};
}

bool DisplayPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1) {
        if (event->type() == QEvent::KeyPress) {
            bool consumed = false;
            HandlerGuard::run([&] { consumed = Edit1KeyPress(static_cast<QKeyEvent*>(event)->key()); });
            if (consumed)
                return true;
        } else if (event->type() == QEvent::KeyRelease) {
            HandlerGuard::run([this] { Edit1KeyUp(); });
        }
    }
    return TerminalPage::eventFilter(watched, event);
}

void DisplayPage::Check(const std::string& result) {
    if (TerminalConnection::IsError(result))
        connection().lose();
}

bool DisplayPage::Edit1KeyPress(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        SendText(true);
        return true;
    }
    if (key == Qt::Key_Escape) {
        ClearDisplay();
        return true;
    }
    return false;
}

void DisplayPage::Edit1KeyUp() {
    const QList<uint> characters = Edit1->text().toUcs4();
    if (characters.size() > kMaxTextLength) {
        const QString cut =
            QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), kMaxTextLength);
        Edit1->setText(cut);
        Edit1->setCursorPosition(static_cast<int>(cut.size()));
    }
    LStr->setText(QStringLiteral("Length=%1").arg(std::min<qsizetype>(characters.size(), kMaxTextLength)));
}

void DisplayPage::Button12Click() {
    SendText(false);
}

void DisplayPage::Button11Click() {
    ClearDisplay();
}

void DisplayPage::SendText(bool byEnterKey) {
    QString refused;
    const std::string win1251 = TerminalText::displayText(Edit1->text(), &refused);
    if (!refused.isEmpty()) {
        AppDialogs::message(
            AppDialogs::Icon::Warning, AppDialogs::Buttons::Ok,
            QStringLiteral("The terminal cannot show these characters: %1\nNothing was sent.").arg(refused));
        return;
    }
    const std::string converted =
        tkm::protocol::ToTerminalCodePage(win1251, connection().device().configuration.codePageCode);
    using tkm::protocol::TextSentBy;
    Check(connection().Transact(tkm::protocol::WriteText(
        connection().address(), converted, byEnterKey ? TextSentBy::EnterKey : TextSentBy::Button)));
}

void DisplayPage::ClearDisplay() {
    Check(connection().Transact(tkm::protocol::ClearDisplay(connection().address())));
}

void DisplayPage::Button13Click() {
    const int row = static_cast<int>(CY->Value());
    const int column = static_cast<int>(CX->Value());
    Check(connection().Transact(tkm::protocol::WriteAt(connection().address(), row, column)));
}

void DisplayPage::LimitCursorEdit(TVrNumEdit* edit, double maximum) {
    const double value = edit->Value(); // a text that is no number ends the handler here
    if (value > maximum)
        edit->SetValue(maximum);
    else if (value < 0)
        edit->SetValue(0);
}

void DisplayPage::CXChange() {
    LimitCursorEdit(CX, 19);
}

void DisplayPage::CYChange() {
    LimitCursorEdit(CY, 3);
}

void DisplayPage::SwitchLamp(TVrUserLed* lamp, int indicator) {
    if (!connection().found())
        return;
    Check(connection().Transact(
        tkm::protocol::SetIndicator(connection().address(), indicator, !lamp->Active())));
    if (connection().found())
        lamp->SetActive(!lamp->Active());
}

void DisplayPage::Led1MouseDown() {
    SwitchLamp(Led1, 1);
}

void DisplayPage::Led2MouseDown() {
    SwitchLamp(Led2, 2);
}

void DisplayPage::Button14Click() {
    if (!connection().found())
        return;
    tkm::protocol::DisplayOptions options;
    options.blinkingCursor = BCurs->isChecked();
    options.staticCursor = Scurs->isChecked();
    options.displayEnabled = EnDispl->isChecked();
    options.saveToEeprom = EEPDispl->isChecked();
    Check(connection().Transact(tkm::protocol::WriteDisplaySettings(connection().address(), options)));
}

void DisplayPage::Button15Click() {
    BCurs->setChecked(true);
    Scurs->setChecked(true);
    EnDispl->setChecked(true);
}
