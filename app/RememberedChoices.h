#pragma once

#include <QString>

#include <optional>

// The port the user last opened, its baud rate and whether RS-485 direction control was on, kept for the next
// start in a small file of the user's configuration folder (XDG: $XDG_CONFIG_HOME, else ~/.config, then
// tkm9214-utility/). The file is replaced whole (temporary file + rename), so it is never left half written;
// a file that cannot be read or makes no sense counts as nothing remembered. Any thread, one at a time.
class RememberedChoices {
public:
    struct Connection {
        // The port's device path, or the chooser's name of a port without a fixed path (the
        // built-in simulated terminal).
        QString port;
        int baudRate = 0;
        bool rs485 = false;
        bool operator==(const Connection&) const = default;
    };

    // folder: where the file lives; tests give a scratch folder.
    explicit RememberedChoices(QString folder = defaultFolder());

    static QString defaultFolder();
    QString filePath() const;

    std::optional<Connection> load() const;
    // False when the file could not be written; what was there before stays as it was.
    bool save(const Connection& connection) const;

private:
    QString folder_;
};
