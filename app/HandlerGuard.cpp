#include "HandlerGuard.h"

void HandlerGuard::report(const QString& text) noexcept {
    // The box itself must not throw out of the guard either.
    try {
        AppDialogs::showException(text);
    } catch (...) {
    }
}
