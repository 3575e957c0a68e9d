#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <string>

class TerminalConnection;

// One page of the main window's page control. A page owns its components and handlers and reaches the
// terminal only through the connection, and keeps what runs for it (timers, the terminal's state it set
// up) itself. The window calls it when the page is entered (after the display clear and Leave on
// every other page), on every poll tick while it is shown, if it polls, and when it is left.
// User-interface thread only.
class TerminalPage : public QWidget {
    Q_OBJECT
public:
    // name: the page's component name, which is also its objectName.
    TerminalPage(const QString& name, TerminalConnection& connection, QWidget* parent = nullptr);

    // The page's own steps of the page-entry sequence; runs only while the terminal is found, with the
    // window disabled.
    virtual void Enter() {}
    // The page ends what it keeps going on the terminal: every page but the one entered is left at each
    // page change (after the display clear, before Enter), since that state may stand from any earlier
    // page, and every page is left when the window closes. Only while the terminal is found (closing:
    // and its port open).
    virtual void Leave() {}

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
