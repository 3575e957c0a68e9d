// The TKM-9214 Utility: one main window, run until it is closed.
#include "app/TF1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TKM-9214 Utility"));
    QApplication::setApplicationDisplayName(QStringLiteral("TKM-9214 Utility"));

    TF1 window;
    window.show();
    return QApplication::exec();
}
