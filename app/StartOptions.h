#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of tkm9214-utility:
//   tkm9214-utility [--port PATH | --simulator] [--baud RATE] [--address N] [--checksum] [--rs485]
//                   [--open] [--simulator-echo] [--simulator-turnaround MS]
// plus --help and --version. Qt's own window-system options (-platform, -style, ...) are let
// through for QApplication. Parsing needs no application object, so --help, --version and a bad
// value are answered before any window (or display connection) exists. Any thread.
class StartOptions {
public:
    QString port;                // --port: absolute device path; empty when not given
    bool simulator = false;      // --simulator: the built-in simulated terminal
    std::optional<int> baudRate; // --baud: one of the ten rates of the baud-rate list
    std::optional<int> address;  // --address: 0..255
    bool checksum = false;       // --checksum: checksum mode on
    bool open = false;           // --open: open the port at start
    bool rs485 = false;          // --rs485: RS-485 direction control
    // --simulator-echo, --simulator-turnaround: how the built-in simulated terminal's line plays
    bool simulatorEcho = false;
    int simulatorTurnaroundMs = 0;

    // Whether the command line chose the port (then a remembered port is not used).
    bool choosesPort() const { return simulator || !port.isEmpty(); }

    // What the program does with the command line: start the window with the values above, or
    // print `text` (help and version on stdout, an error on stderr) and end with exitCode().
    enum class Action { Start, ShowHelp, ShowVersion, Fail };
    Action action = Action::Start;
    QString text;
    int exitCode() const { return action == Action::Fail ? 2 : 0; }

    // arguments: the whole command line, program name first.
    static StartOptions parse(const QStringList& arguments);

    static constexpr const char* kProgram = "tkm9214-utility";
    // The program's version, as --version says it and the About page shows it ("1.1").
    static QString version();
};
