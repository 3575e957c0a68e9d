// The connection panel, the traffic log, the status bar, the timers and the page control.
#include "app/BaudRates.h"
#include "app/FileDialog.h"
#include "app/LayoutHelpers.h"
#include "app/QuietScrollBar.h"
#include "app/SimulatedTerminalPort.h"
#include "app/StatusBarPanels.h"
#include "app/TF1.h"
#include "app/TerminalPage.h"
#include "app/TrafficMemo.h"
#include "app/TrafficMemoAccessible.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"
#include "widgets/VrStateTexts.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

FileDialog* makeFileDialog(QWidget* owner, const char* name, FileDialog::Kind kind) {
    auto* dialog = new FileDialog(kind, owner);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->SetFilter(QStringLiteral("tkm_setting (*.tkm)"));
    dialog->SetDefaultExt(QStringLiteral("tkm"));
    return dialog;
}

} // namespace

void TF1::buildConnectionPanel() {
    nrComm1 = new TnrComm(this);
    nrComm1->setObjectName(QStringLiteral("nrComm1"));
    nrComm1->SetBaudRate(9600);
    nrComm1->SetParity(pNone);
    nrComm1->SetStopBits(sbOne);
    nrComm1->SetByteSize(8);
    nrComm1->SetStreamProtocol(spNone);
    nrComm1->SetBufferInSize(128);
    nrComm1->SetBufferOutSize(128);
    nrComm1->SetTimeoutRead(0);
    nrComm1->SetTimeoutWrite(100);
    nrComm1->SetComPortNo(1);

    // The built-in simulated terminal is one more port of the chooser; the simulator starts when the
    // port is first opened. A simulator that cannot start gives no path, so opening fails as usual.
    simulatedPort_ = std::make_unique<SimulatedTerminalPort>();
    nrComm1->AddExtraPort(QString::fromLatin1(SimulatedTerminalPort::kPortName), [this] {
        try {
            return QString::fromStdString(simulatedPort_->path());
        } catch (const std::exception&) {
            return QString();
        }
    });

    auto* panel = place<QFrame>(this, "Panel1", 0, 0, 498, 104);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1 = panel;

    nrDeviceBox1 = place<TnrDeviceBox>(Panel1, "nrDeviceBox1", 8, 8, 105, 21);
    // Tab reaches the port chooser; a click opens its list without taking the focus, as before.
    reachableByTab(nrDeviceBox1);
    // No label stands beside the two boxes. A screen reader on Linux names a box by its choice and
    // hears a label through the box's relations, so the description says what the box is.
    nrDeviceBox1->setAccessibleName(QStringLiteral("Port"));
    nrDeviceBox1->setAccessibleDescription(QStringLiteral("Port"));
    nrDeviceBox1->SetComm(nrComm1);

    BR = place<QComboBox>(Panel1, "BR", 8, 38, 105, 21);
    BR->setAccessibleName(QStringLiteral("Baud rate"));
    BR->setAccessibleDescription(QStringLiteral("Baud rate"));
    BR->addItems(BaudRates::texts());
    BR->setCurrentIndex(BaudRates::kIndex9600);

    BOP = place<TVrPowerButton>(Panel1, "BOP", 122, 6, 110, 25);
    BOP->SetCaption(QStringLiteral("Open port"));
    CSE = place<TVrPowerButton>(Panel1, "CSE", 122, 36, 110, 25);
    CSE->SetCaption(QStringLiteral("CheckSum"));

    led = place<TVrUserLed>(Panel1, "led", 10, 70, 29, 15);
    styleLed(led, RGB(0, 64, 0), RGB(0, 191, 0));
    led->setAccessibleName(QStringLiteral("Connection activity"));
    VrStateTexts::Set(led, {QStringLiteral("Idle"), QStringLiteral("Exchange with the terminal")});

    GroupBox1 = place<QGroupBox>(Panel1, "GroupBox1", 240, 2, 252, 98);
    GroupBox1->setTitle(QStringLiteral("ADDRESS=0x00 / 0 "));
    Adr = place<TVrTrackBar>(GroupBox1, "Adr", 6, 16, 240, 42);
    Adr->SetMinValue(0);
    Adr->SetMaxValue(255);
    Adr->SetPosition(0);
    AdrDec = place<QPushButton>(GroupBox1, "AdrDec", 10, 64, 28, 25);
    AdrDec->setText(QStringLiteral("-"));
    AdrInc = place<QPushButton>(GroupBox1, "AdrInc", 42, 64, 28, 25);
    AdrInc->setText(QStringLiteral("+"));
    Scan = place<TVrPowerButton>(GroupBox1, "Scan", 132, 63, 110, 27);
    Scan->SetCaption(QStringLiteral("Scan"));

    RCVS = place<TrafficMemo>(this, "RCVS", 4, 108, 420, 130);
    RCVS->setAccessibleName(QStringLiteral("Traffic log"));
    TrafficMemoAccessible::Follow(RCVS);
    RCVS->setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, RCVS));
    RCVS->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RCVS->setTabStopDistance(32);
    Button4 = place<QPushButton>(this, "Button4", 428, 108, 66, 25);
    Button4->setText(QStringLiteral("Clear"));

    Page = place<QTabWidget>(this, "Page", 0, 242, 498, 356);

    const QList<StatusBarPanels::PanelLayout> panels = {
        {30, false, Qt::AlignRight, QStringLiteral("Dev")},
        {80, true, Qt::AlignLeft, QString()},
        {25, false, Qt::AlignRight, QStringLiteral("FW")},
        {50, true, Qt::AlignLeft, QString()},
        {60, false, Qt::AlignRight, QStringLiteral("Code Page")},
        {80, true, Qt::AlignLeft, QString()},
        {70, false, Qt::AlignRight, QStringLiteral("Check Summ")},
        {50, true, Qt::AlignLeft, QString()},
        {50, false, Qt::AlignLeft, QString()},
    };
    StBar = new StatusBarPanels(panels, this);
    StBar->setObjectName(QStringLiteral("StBar"));
    StBar->setGeometry(0, 598, 498, 20);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    // Never before the interval: the coarse default may fire up to 5 % early, and the terminal is
    // promised a full interval between one tick's last exchange and the next tick.
    Timer1->setTimerType(Qt::PreciseTimer);

    OpenDialog1 = makeFileDialog(this, "OpenDialog1", FileDialog::Kind::Open);
    SaveDialog1 = makeFileDialog(this, "SaveDialog1", FileDialog::Kind::Save);
}

void TF1::buildKeyboardOrder() {
    for (QWidget* control : {static_cast<QWidget*>(BOP), static_cast<QWidget*>(CSE),
                             static_cast<QWidget*>(Adr), static_cast<QWidget*>(Scan)})
        reachableByTab(control);
    Adr->setAccessibleName(QStringLiteral("ADDRESS"));
    AdrDec->setAccessibleName(QStringLiteral("ADDRESS down"));
    AdrInc->setAccessibleName(QStringLiteral("ADDRESS up"));

    // The connection panel left to right, the log, the page tabs, then the page shown (Tab passes over
    // the hidden ones).
    QList<QWidget*> order = {nrDeviceBox1, BR, BOP, CSE, Adr, AdrDec, AdrInc, Scan, RCVS, Button4, Page};
    for (int i = 0; i < Page->count(); ++i)
        order += static_cast<TerminalPage*>(Page->widget(i))->TabOrder();
    tabOrder(order);
}
