// The utility's start for bench_startup: main.cpp of tkm9214-utility with the probe around it.
#include "FirstPaintProbe.h"

#include "app/TF1.h"

#include <QApplication>

int main(int argc, char** argv) {
    FirstPaintProbe probe;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TKM-9214 Utility"));
    QApplication::setApplicationDisplayName(QStringLiteral("TKM-9214 Utility"));

    TF1 window;
    window.show();
    probe.shown(&window);
    return QApplication::exec();
}
