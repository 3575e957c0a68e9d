// The yardstick for bench_startup: the least a Qt Widgets serial tool shows (a main window with a
// port list and a traffic memo), built like the utility and started the same way.
#include "FirstPaintProbe.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    FirstPaintProbe probe;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reference"));

    QMainWindow window;
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    auto* ports = new QComboBox(central);
    ports->addItems({QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")});
    layout->addWidget(ports);
    layout->addWidget(new QPlainTextEdit(central));
    window.setCentralWidget(central);
    window.resize(498, 618); // the utility's client size
    window.show();
    probe.shown(&window);
    return QApplication::exec();
}
