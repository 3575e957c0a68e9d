#pragma once

#include <QString>

// Checks on a serial device path given by the user, before anything opens it. Any thread.
namespace PortPath {

// Empty when the path (symbolic links followed) is a character device, as serial ports and
// pseudo-terminals are; otherwise why it cannot be a port ("No such file or directory", ...).
QString problem(const QString& path);

} // namespace PortPath
