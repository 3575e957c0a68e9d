#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP ask the program to end. Each arrives as requested() on the user-interface
// thread, so the window closes as by its close button (the terminal's watchdog off, the port closed
// and its lock file removed) instead of the process dying with the port open. The signal handler only
// writes a byte to a socket pair the event loop watches. One instance at a time, made after the
// QApplication; its destruction gives the signals their former handlers back.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

signals:
    void requested();

private:
    void drain();

    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};
