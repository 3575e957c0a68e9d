#pragma once

#include "AppDialogs.h"

#include <QString>

#include <exception>
#include <utility>

// Every window handler runs inside this guard: an exception ends the handler, the application's
// exception box shows it, and the program goes on. Nothing is thrown across Qt's event loop.
class HandlerGuard {
public:
    template <class F> static bool run(F&& handler) noexcept {
        try {
            std::forward<F>(handler)();
            return true;
        } catch (const std::exception& e) {
            report(QString::fromUtf8(e.what()));
        } catch (...) {
            report(QStringLiteral("Unknown exception"));
        }
        return false;
    }

private:
    static void report(const QString& text) noexcept;
};
