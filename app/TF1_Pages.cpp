// Page switching and polling: the page-entry sequence, the poll tick and the highlight tick.
#include "app/RadioGroup.h"
#include "app/TF1.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"

#include "seriallink/TnrComm.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrRaster.h"
#include "widgets/TVrRasterLed.h"
#include "widgets/TVrTrackBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace proto = tkm::protocol;

namespace {

// Disables the window for the page-entry sequence and enables it again on every way out.
class WindowDisabled {
public:
    explicit WindowDisabled(QWidget* window) : window_(window) { window_->setEnabled(false); }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;
    ~WindowDisabled() { window_->setEnabled(true); }

private:
    QWidget* window_;
};

} // namespace

void TF1::PageChange() {
    if (!deviceFound)
        return;
    WindowDisabled disabled(this);

    const int a = address();
    auto writeAt = [&](int row, const std::string& text) {
        return Transact(proto::WriteAt(a, row, 0, text));
    };

    if (IsError(Transact(proto::ClearDisplay(a))))
        deviceFound = false;

    QWidget* shown = Page->currentWidget();
    if (shown == WDTimer) {
        if (!WatchdogRead())
            deviceFound = false;
        WDTEN->SetActive(device.wdtEnabled);
        if (device.wdtEnabled)
            WDTT->SetPosition(device.wdtPeriod);
        writeAt(0, "WDT TEST");
        writeAt(1, "");
    } else {
        WDTEN->SetActive(false);
        if (!WatchdogSet())
            deviceFound = false;
    }

    if (shown == Keyboard) {
        if (IsError(writeAt(0, "KEYBOARD TEST")))
            deviceFound = false;
    } else if (shown == DIO) {
        if (IsError(writeAt(0, "DIO TEST")))
            deviceFound = false;
        ShowDirections(device.direction);
    } else if (shown == UserSymbols) {
        for (int n = 0; n <= 8; ++n)
            RedrawSymbol(n);
        writeAt(1, "0 1 2 3 4 5 6 7");
        writeAt(2, "");
        // The terminal's own codes of the eight user symbols, sent as they are (no code-page conversion).
        const unsigned char first = device.cfgCodePage == "02" ? 0xB8 : 0xB0;
        std::string symbols;
        for (int i = 0; i < 8; ++i) {
            symbols += static_cast<char>(first + i);
            symbols += ' ';
        }
        symbols += ' ';
        Transact(proto::WriteText(a, symbols));
        writeAt(0, "USER SYMBOLS");
    } else if (shown == Setting) {
        writeAt(0, "Address   :" + device.cfgAddress);
        writeAt(1, "Baud Rate :" + device.cfgBaud);
        writeAt(2, "Code page :" + device.cfgCodePage);
        writeAt(3, "Check summ:" + device.cfgFormat);
    } else if (shown == About) {
        writeAt(0, "Device   :" + device.deviceName);
        writeAt(1, "Firmware :" + device.firmware);
        writeAt(2, "Web site");
        writeAt(3, kWebSiteShort);
    }
}

void TF1::Timer1Timer() {
    if (!portOpen())
        deviceFound = false;
    if (Scan->Active())
        AddressScan();
    if (!deviceFound)
        deviceFound = IdentifyDevice();

    const QString shown = Page->currentWidget() ? Page->currentWidget()->objectName() : QString();
    if (shown == QLatin1String("Keyboard") || shown == QLatin1String("DIO") ||
        shown == QLatin1String("WDTimer")) {
        const auto poll = pagePolls.find(shown);
        if (poll != pagePolls.end() && poll->second)
            deviceFound = poll->second();
    }
}

void TF1::Timer3Timer() {
    if (Fix->Active() && deviceFound)
        return;
    for (int k = 1; k <= 30; ++k) {
        if (keyHighlight[static_cast<std::size_t>(k)] > 0)
            --keyHighlight[static_cast<std::size_t>(k)];
        else
            setKeyPanelColor(k, palette().color(QPalette::Button));
    }
}

QLabel* TF1::keyPanel(int k) const {
    if (k < 1 || k > 30)
        return nullptr;
    // Found by name once: Timer3 visits all 30 panels every 150 ms, and a search of the whole window
    // per panel would be most of the idle window's CPU time.
    QPointer<QLabel>& panel = keyPanels_[static_cast<std::size_t>(k)];
    if (!panel)
        panel = findChild<QLabel*>(QStringLiteral("B%1").arg(k));
    return panel;
}

void TF1::setKeyPanelColor(int k, const QColor& color) {
    QLabel* panel = keyPanel(k);
    if (!panel || panel->palette().color(QPalette::Window) == color)
        return;
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, color);
    panel->setPalette(p);
}

int TF1::selectedSymbol() const {
    return SUS ? std::max(SUS->itemIndex(), 0) : 0;
}

void TF1::RedrawSymbol(int n) {
    if (n < 0 || n > 8)
        return;
    const std::string& code = symbolCodes[static_cast<std::size_t>(n == 8 ? selectedSymbol() : n)];
    const proto::SymbolDots dots = proto::DotsFromSymbolCode(code);
    if (auto* raster = findChild<TVrRaster*>(QStringLiteral("US%1").arg(n))) {
        for (int i = 0; i < static_cast<int>(dots.size()); ++i)
            raster->Items(i)->SetActive(dots[static_cast<std::size_t>(i)]);
    }
    const std::string& selected = symbolCodes[static_cast<std::size_t>(selectedSymbol())];
    USCode->setText(QString::fromLatin1(selected.data(), static_cast<qsizetype>(selected.size())));
}
