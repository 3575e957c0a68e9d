#pragma once

// The connection panel's controls as a page moves them, the way a user would: the Setting page's
// initialisation procedure takes the connection to the terminal's init-mode settings through it. The
// main window implements it. User-interface thread only.
class ConnectionPanel {
public:
    virtual ~ConnectionPanel() = default;

    // Moves the address control; its change handler identifies the terminal there.
    virtual void moveAddress(int address) = 0;
    // Switches checksum mode off, on the panel's button and for the exchanges.
    virtual void switchChecksumOff() = 0;
    // Chooses a baud rate by its list index: the list, the port's rate and the poll interval follow.
    // Identifies nothing.
    virtual void chooseBaudIndex(int index) = 0;

protected:
    ConnectionPanel() = default;
    ConnectionPanel(const ConnectionPanel&) = default;
    ConnectionPanel& operator=(const ConnectionPanel&) = default;
};
