#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <string>

class TerminalConnection;

// One page of the main window's page control. A page owns its components and handlers and reaches the
// terminal only through the connection. The window calls it at two moments: when the page is entered
// (after the window cleared the terminal's display and, for every page but the WDT page, switched the
// watchdog off) and on every poll tick while it is shown, if it polls.
// User-interface thread only.
class TerminalPage : public QWidget {
    Q_OBJECT
public:
    // name: the page's component name, which is also its objectName.
    TerminalPage(const QString& name, TerminalConnection& connection, QWidget* parent = nullptr);

    // The page's own steps of the page-entry sequence; runs only while the terminal is found, with the
    // window disabled.
    virtual void Enter() {}

    // The page's controls in the order Tab takes through them (the window puts them after its page tabs).
    virtual QList<QWidget*> TabOrder() const = 0;

    // Pages that poll the terminal while they are shown.
    virtual bool HasPoll() const { return false; }
    // One poll; false when the terminal did not answer as expected (the window then loses it).
    virtual bool Poll() { return true; }

protected:
    TerminalConnection& connection() const { return connection_; }
    // A test-screen text from column 0 of a display row, as the page-entry sequence writes them.
    std::string WriteRow(int row, const std::string& text);

private:
    TerminalConnection& connection_;
};
