// Development aid, not a test: shows the main window, optionally connects it to the built-in
// simulated terminal at address 1, then saves a picture of the window with each page shown.
// With --mouse it also uses every page with the mouse, as a user does (clicks, a drag, the pointer
// over a link), and saves a picture after each step: run it before and after a change under a real X
// server (xvfb-run) and compare the pictures to see that mouse use looks the same.
// With --keyboard it goes through every control with Tab and saves a picture of each focus.
// Usage: app_page_screenshots <output folder> [--simulator] [--mouse] [--keyboard]
#include "app/AboutPage.h"
#include "app/DioPage.h"
#include "app/DisplayPage.h"
#include "app/KeyboardPage.h"
#include "app/SettingPage.h"
#include "app/SimulatedTerminalPort.h"
#include "app/TF1.h"
#include "app/UserSymbolsPage.h"
#include "app/WdtPage.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrRaster.h"
#include "widgets/TVrSwitch.h"
#include "widgets/TVrTrackBar.h"
#include "widgets/TVrUserLed.h"
#include "widgets/TVrWebLabel.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <utility>

namespace {

class Shots {
public:
    Shots(TF1& window, QString folder) : window_(window), folder_(std::move(folder)) {}

    // What the screen shows of the window (under a real X server), else what the window paints.
    void save(const QString& name) {
        settle();
        QPixmap shot;
        if (QGuiApplication::platformName() == QStringLiteral("xcb"))
            shot = window_.screen()->grabWindow(window_.winId());
        if (shot.isNull())
            shot = window_.grab();
        shot.save(QDir(folder_).filePath(name + QStringLiteral(".png")));
    }

    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QTest::qWait(20);
        }
    }

private:
    TF1& window_;
    QString folder_;
};

void click(QWidget* widget, QPoint at = QPoint()) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.isNull() ? widget->rect().center() : at);
    Shots::settle();
}

void clickTab(TF1& window, int index) {
    QTabBar* bar = window.Page->tabBar();
    click(bar, bar->tabRect(index).center());
}

// Every page used with the mouse, a picture after each step.
void useWithTheMouse(TF1& window, Shots& shots) {
    click(window.CSE);
    shots.save(QStringLiteral("mouse_00_checksum_on"));
    click(window.CSE);
    click(window.AdrInc);
    click(window.AdrDec);
    shots.save(QStringLiteral("mouse_01_address_buttons"));
    click(window.Adr, window.Adr->ThumbRect().center() + QPoint(60, 0));
    shots.save(QStringLiteral("mouse_02_address_bar"));
    window.Adr->SetPosition(1);

    clickTab(window, 0);
    click(window.Display->Edit1);
    shots.save(QStringLiteral("mouse_03_display_edit"));
    click(window.Display->Led1);
    click(window.Display->Button14);
    shots.save(QStringLiteral("mouse_04_display_lamp_and_button"));

    clickTab(window, 1);
    click(window.Keyboard->Fix);
    shots.save(QStringLiteral("mouse_05_keyboard_fix"));

    clickTab(window, 2);
    shots.save(QStringLiteral("mouse_06_dio_entered"));
    auto* line = window.DIO->findChild<TVrSwitch*>(QStringLiteral("DDIO7"));
    click(line, line->ThumbRect().center() + QPoint(0, 20));
    auto* led = window.DIO->findChild<TVrUserLed*>(QStringLiteral("DIO7"));
    click(led);
    shots.save(QStringLiteral("mouse_07_dio_switch_and_led"));

    clickTab(window, 3);
    auto* editor = window.UserSymbols->findChild<TVrRaster*>(QStringLiteral("US8"));
    click(editor, QPoint(40, 40));
    click(window.UserSymbols->findChild<TVrRaster*>(QStringLiteral("US2")));
    shots.save(QStringLiteral("mouse_08_symbols"));

    clickTab(window, 4);
    click(window.Setting->AdrNew, window.Setting->AdrNew->ThumbRect().center() + QPoint(50, 0));
    click(window.Setting->Button3);
    shots.save(QStringLiteral("mouse_09_setting"));

    clickTab(window, 5);
    click(window.WDTimer->WDTEN);
    click(window.WDTimer->DIS_RESWDT);
    const QPoint thumb = window.WDTimer->WDTT->ThumbRect().center();
    QTest::mousePress(window.WDTimer->WDTT, Qt::LeftButton, Qt::NoModifier, thumb);
    QTest::mouseMove(window.WDTimer->WDTT, thumb + QPoint(40, 0));
    QTest::mouseRelease(window.WDTimer->WDTT, Qt::LeftButton, Qt::NoModifier, thumb + QPoint(40, 0));
    shots.save(QStringLiteral("mouse_10_wdt"));

    clickTab(window, 6);
    QTest::mouseMove(window.About->VrWebLabel3);
    shots.save(QStringLiteral("mouse_11_about_link_hovered"));
    QTest::mouseMove(window.About, QPoint(400, 300));
    clickTab(window, 0);
    shots.save(QStringLiteral("mouse_12_back_on_display"));
}

// Every control reached with Tab, page after page (the arrow on the page tabs turns the page), a
// picture at each: the focus as the keyboard shows it.
void useWithTheKeyboard(TF1& window, Shots& shots) {
    window.Page->setCurrentIndex(0);
    QTabBar* tabs = window.Page->tabBar();
    bool pageDone = false; // the tabs were reached on this page: the next time Tab went through it
    for (int step = 0; step < 300 && window.Page->currentIndex() < window.Page->count(); ++step) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        const QString name = focus ? focus->objectName() : QString();
        shots.save(QStringLiteral("keys_%1_%2").arg(step, 3, 10, QLatin1Char('0')).arg(name));
        if (focus != tabs)
            continue;
        if (!std::exchange(pageDone, true))
            continue;
        if (window.Page->currentIndex() == window.Page->count() - 1)
            break;
        QTest::keyClick(tabs, Qt::Key_Right);
        pageDone = true; // the focus stays on the tabs: the next Tab goes into the new page
        shots.save(QStringLiteral("keys_%1_page_%2")
                       .arg(step, 3, 10, QLatin1Char('0'))
                       .arg(window.Page->currentIndex()));
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A blinking caret would make two runs differ.
    QApplication::setCursorFlashTime(0);
    const QStringList args = QApplication::arguments();
    const QString folder = args.size() > 1 ? args[1] : QDir::currentPath();
    TF1 window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.activateWindow();
    Shots shots(window, folder);
    if (args.contains(QStringLiteral("--simulator"))) {
        window.nrDeviceBox1->Change(
            window.nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName)));
        window.BOP->SetActive(true);
        window.BOPClick();
        window.Adr->SetPosition(1);
    }
    // No poll tick or highlight tick may come between the steps: every exchange starts Timer1 again, and
    // whether a tick fell between two clicks would depend on how fast the machine is.
    QObject::disconnect(window.Timer1, nullptr, &window, nullptr);
    QObject::disconnect(window.Keyboard->Timer3, nullptr, &window, nullptr);
    window.Timer1->stop();
    window.Keyboard->Timer3->stop();
    for (int i = 0; i < window.Page->count(); ++i) {
        window.Page->setCurrentIndex(i);
        shots.save(QStringLiteral("page_%1_%2").arg(i).arg(window.Page->widget(i)->objectName()));
    }
    if (args.contains(QStringLiteral("--mouse"))) {
        window.Page->setCurrentIndex(0);
        useWithTheMouse(window, shots);
    }
    if (args.contains(QStringLiteral("--keyboard")))
        useWithTheKeyboard(window, shots);
    return 0;
}
