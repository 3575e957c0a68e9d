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

    // A slot for connect() that runs the handler inside the guard:
    //     connect(button, &QPushButton::clicked, this, HandlerGuard::slot(this, &Page::ButtonClick));
    template <class F> static auto slot(F handler) {
        return [handler] { run(handler); };
    }
    template <class T> static auto slot(T* object, void (T::*handler)()) {
        return [object, handler] { run([object, handler] { (object->*handler)(); }); };
    }

private:
    static void report(const QString& text) noexcept;
};
