#pragma once

#include <QString>
#include <functional>

// The shell's "open" operation on a web or mail address, mapped to the desktop's default handler.
// Tests (and anything that must not start a browser) replace the handler; user-interface thread only.

using VrShellOpenHandler = std::function<bool(const QString& address)>;

// Asks the desktop to open `address`; false when it could not (an empty address always fails).
bool VrShellOpen(const QString& address);

// Installs `handler` in place of the desktop (an empty handler restores the desktop); returns the previous
// one.
VrShellOpenHandler VrSetShellOpenHandler(VrShellOpenHandler handler);
