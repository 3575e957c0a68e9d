#include "VrShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
VrShellOpenHandler& handlerSlot() {
    static VrShellOpenHandler handler;
    return handler;
}

bool openWithDesktop(const QString& address) {
    // fromUserInput turns "www.example.com" into an http address, as the original shell would.
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    return url.isValid() && !url.isEmpty() && QDesktopServices::openUrl(url);
}
} // namespace

bool VrShellOpen(const QString& address) {
    if (address.trimmed().isEmpty())
        return false;
    const VrShellOpenHandler& handler = handlerSlot();
    return handler ? handler(address) : openWithDesktop(address);
}

VrShellOpenHandler VrSetShellOpenHandler(VrShellOpenHandler handler) {
    VrShellOpenHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}
