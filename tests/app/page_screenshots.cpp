// Development aid, not a test: shows the main window, optionally connects it to the built-in
// simulated terminal at address 1, then saves a picture of the window with each page shown.
// Usage: app_page_screenshots <output folder> [--simulator]
#include "app/SimulatedTerminalPort.h"
#include "app/TF1.h"

#include "seriallink/TnrComm.h"
#include "seriallink/TnrDeviceBox.h"
#include "widgets/TVrPowerButton.h"
#include "widgets/TVrTrackBar.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString folder = args.size() > 1 ? args[1] : QDir::currentPath();
    TF1 window;
    window.show();
    if (args.contains(QStringLiteral("--simulator"))) {
        window.nrDeviceBox1->Change(
            window.nrDeviceBox1->findText(QString::fromLatin1(SimulatedTerminalPort::kPortName)));
        window.BOP->SetActive(true);
        window.BOPClick();
        window.Adr->SetPosition(1);
    }
    window.Timer1->stop();
    window.Timer3->stop();
    for (int i = 0; i < window.Page->count(); ++i) {
        window.Page->setCurrentIndex(i);
        QApplication::processEvents();
        const QString name =
            QStringLiteral("page_%1_%2.png").arg(i).arg(window.Page->widget(i)->objectName());
        window.grab().save(QDir(folder).filePath(name));
    }
    return 0;
}
