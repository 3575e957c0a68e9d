// The TKM-9214 Utility: one main window, run until it is closed.
#include "app/AccessibleFactory.h"
#include "app/ApplicationIcon.h"
#include "app/StartConnection.h"
#include "app/StartOptions.h"
#include "app/TF1.h"
#include "app/TerminationSignals.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Answered before QApplication exists: --help, --version and a bad value need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions start = StartOptions::parse(arguments);
    if (start.action != StartOptions::Action::Start) {
        std::fputs(start.text.toLocal8Bit().constData(),
                   start.action == StartOptions::Action::Fail ? stderr : stdout);
        return start.exitCode();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TKM-9214 Utility"));
    QApplication::setApplicationDisplayName(QStringLiteral("TKM-9214 Utility"));
    // Lets the desktop match the window with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tkm.tkm9214_utility"));
    QApplication::setWindowIcon(ApplicationIcon());
    AccessibleFactory::Install();

    TF1 window;
    StartConnection connection(window, RememberedChoices());
    connection.apply(start);

    // Asked to end (SIGTERM, Ctrl-C), the program closes its window first, as its close button
    // does, and ends once the window is closed, also from behind an open box.
    TerminationSignals termination;
    bool ending = false;
    QObject::connect(&termination, &TerminationSignals::requested, &window, [&window, &ending] {
        ending = true;
        window.close();
    });
    QObject::connect(&window, &TF1::Closed, &window, [&ending] {
        if (ending)
            QCoreApplication::quit();
    });

    window.show();
    return QApplication::exec();
}
