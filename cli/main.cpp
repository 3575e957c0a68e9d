// tkm9214: the TKM-9214 operator terminal from scripts and the shell.
#include "cli/Tool.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    // The serial port component hands its line events to the thread that owns it, which takes them
    // during each exchange; without an application object its worker thread would run them itself,
    // at the same time as the exchange.
    QCoreApplication application(argc, argv);
    return Tool::run(argc, argv);
}
