#include "app/KeyboardPage.h"

#include "app/HandlerGuard.h"
#include "app/LayoutHelpers.h"
#include "app/TerminalConnection.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"
#include "protocol/Replies.h"

#include "widgets/TVrPowerButton.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

KeyboardPage::KeyboardPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("Keyboard"), connection, parent) {
    QFont bold = font();
    bold.setBold(true);
    for (int k = 1; k <= kKeys; ++k) {
        int x, y;
        if (k <= 10) { // function keys: two rows of five at the lower left
            x = 8 + ((k - 1) % 5) * 45;
            y = 190 + ((k - 1) / 5) * 45;
        } else { // block of five rows of four at the right
            x = 300 + ((k - 11) % 4) * 45;
            y = 10 + ((k - 11) / 4) * 45;
        }
        auto* panel = place<QLabel>(this, QStringLiteral("B%1").arg(k), x, y, 41, 41);
        const std::string_view caption = tkm::protocol::KeyName(k);
        panel->setText(QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(1);
        panel->setFont(bold);
        panel->setAutoFillBackground(true);
        panels_[static_cast<std::size_t>(k)] = panel;
        setKeyPanelColor(k, palette().color(QPalette::Button));
    }
    Fix = place<TVrPowerButton>(this, "Fix", 8, 10, 110, 27);
    Fix->SetCaption(QStringLiteral("Fix"));
    ClearKey = button(this, "ClearKey", QStringLiteral("Clear"), 8, 46, 110);
    ClearKey->setEnabled(false);
    reachableByTab(Fix);

    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(150);
    Timer3->setTimerType(Qt::PreciseTimer);
    connect(Timer3, &QTimer::timeout, this, HandlerGuard::slot(this, &KeyboardPage::Timer3Timer));
    Timer3->start();

    connect(Fix, &TVrPowerButton::OnClick, this, HandlerGuard::slot(this, &KeyboardPage::FixClick));
    connect(ClearKey, &QPushButton::clicked, this, HandlerGuard::slot(this, &KeyboardPage::ClearKeyClick));
}

QList<QWidget*> KeyboardPage::TabOrder() const {
    return {Fix, ClearKey};
}

void KeyboardPage::Enter() {
    if (TerminalConnection::IsError(WriteRow(0, "KEYBOARD TEST")))
        connection().lose();
}

bool KeyboardPage::Poll() {
    namespace proto = tkm::protocol;
    if (!connection().found())
        return false;
    const int a = connection().address();
    const std::string reply = connection().Transact(proto::ReadPressedKeys(a));
    if (TerminalConnection::IsError(reply))
        return false;
    const std::optional<std::vector<int>> keys = proto::DecodePressedKeys(reply);
    if (!keys)
        return false;
    for (const int k : *keys) {
        setHighlight(k, kHighlightTicks);
        setKeyPanelColor(k, QColor(0, 255, 0));
        // The echo on the terminal's own display; whether it arrived does not matter.
        connection().Transact(proto::WriteAt(a, 1, 0, "Key " + proto::DecimalText(k) + " "));
    }
    if (!keys->empty() && !Timer3->isActive())
        Timer3->start();
    return true;
}

bool KeyboardPage::HighlightTick(bool terminalFound) {
    if (Fix->Active() && terminalFound)
        return anyLit();
    for (int k = 1; k <= kKeys; ++k) {
        int& ticks = highlight_[static_cast<std::size_t>(k)];
        if (ticks > 0)
            --ticks;
        else
            setKeyPanelColor(k, palette().color(QPalette::Button));
    }
    return anyLit();
}

void KeyboardPage::Timer3Timer() {
    // Nothing to fade: the tick rests until a key is lit again.
    if (!HighlightTick(connection().found()))
        Timer3->stop();
}

bool KeyboardPage::anyLit() const {
    const QColor face = palette().color(QPalette::Button);
    for (int k = 1; k <= kKeys; ++k) {
        if (highlight_[static_cast<std::size_t>(k)] > 0 ||
            panels_[static_cast<std::size_t>(k)]->palette().color(QPalette::Window) != face)
            return true;
    }
    return false;
}

void KeyboardPage::FixClick() {
    ClearKey->setEnabled(Fix->Active());
}

void KeyboardPage::ClearKeyClick() {
    for (int k = 1; k <= kKeys; ++k) {
        setHighlight(k, 0);
        setKeyPanelColor(k, palette().color(QPalette::Button));
    }
}

QLabel* KeyboardPage::keyPanel(int k) const {
    return k >= 1 && k <= kKeys ? panels_[static_cast<std::size_t>(k)] : nullptr;
}

void KeyboardPage::setKeyPanelColor(int k, const QColor& color) {
    QLabel* panel = keyPanel(k);
    if (!panel || panel->palette().color(QPalette::Window) == color)
        return;
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, color);
    panel->setPalette(p);
}

int KeyboardPage::highlight(int k) const {
    return k >= 1 && k <= kKeys ? highlight_[static_cast<std::size_t>(k)] : 0;
}

void KeyboardPage::setHighlight(int k, int ticks) {
    if (k >= 1 && k <= kKeys)
        highlight_[static_cast<std::size_t>(k)] = ticks;
}
