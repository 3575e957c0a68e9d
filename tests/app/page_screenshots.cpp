// Development aid, not a test: renders the main window with each page shown into PNG files, so the
// layout can be looked at without a display. Usage: app_page_screenshots <output folder>
#include "app/TF1.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    TF1 window;
    window.Timer1->stop();
    window.Timer3->stop();
    window.show();
    for (int i = 0; i < window.Page->count(); ++i) {
        window.Page->setCurrentIndex(i);
        QApplication::processEvents();
        window.grab().save(QDir(folder).filePath(
            QStringLiteral("page_%1_%2.png").arg(i).arg(window.Page->widget(i)->objectName())));
    }
    return 0;
}
