#pragma once

#include "app/RememberedChoices.h"

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

class StartOptions;
class TF1;
class TnrBaseIO;
class TnrComm;

// Brings the connection panel where the command line and the remembered connection ask at start,
// and from then on remembers each port the user opens (with its baud rate and RS-485 direction
// control) for the next start.
//
// Start: a port from the command line (--port, --simulator) or else the remembered port when it is
// present is chosen in nrDeviceBox1; a path the chooser does not list (a pseudo-terminal, a link
// made by socat) joins the list. The baud rate comes from --baud, else from the remembered
// connection when its port was chosen. RS-485 direction control comes from --rs485, else from the
// remembered connection when the command line chose no port (so that naming the port without
// --rs485 switches it off). The built-in simulated terminal's line follows --simulator-echo and
// --simulator-turnaround. Then --checksum and --address; --open opens the port once
// the event loop runs, so the window is up before a failure's box appears and the first poll tick
// identifies the terminal. Without options and with nothing remembered the window stays as built.
//
// User-interface thread only. Create it after the window and destroy it before.
class StartConnection {
public:
    StartConnection(TF1& window, RememberedChoices remembered);
    ~StartConnection();
    StartConnection(const StartConnection&) = delete;
    StartConnection& operator=(const StartConnection&) = delete;

    void apply(const StartOptions& options);
    // Opens the port as BOP does; a port that does not open leaves BOP off after its error box.
    void openPort();

private:
    // A port number of nrComm1 for a device path or a chooser name; a present device the chooser
    // does not list is added to it. Nothing when the port is not there.
    std::optional<quint16> portNumberFor(const QString& port);
    void portNotified(TnrBaseIO* sender, int code);
    void rememberOpenPort();

    TF1& window_;
    QPointer<TnrComm> comm_;
    RememberedChoices remembered_;
    QMetaObject::Connection baudChosen_;
    QTimer openAtStart_; // --open, once the event loop runs
};
