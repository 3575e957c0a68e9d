#include "AppDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace {

AppDialogs::ExceptionBox& exceptionBox() {
    static AppDialogs::ExceptionBox box;
    return box;
}

AppDialogs::MessageBox& messageBox() {
    static AppDialogs::MessageBox box;
    return box;
}

// The exception boxes: the one open and those waiting for it to close, and the collector, if any.
struct ExceptionQueue {
    bool open = false;
    QString shown;
    QStringList waiting;
    QStringList* collector = nullptr;
};

ExceptionQueue& exceptions() {
    static ExceptionQueue queue;
    return queue;
}

QPointer<QWidget>& owner() {
    static QPointer<QWidget> widget;
    return widget;
}

QString title() {
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QApplication::applicationName() : name;
}

void showExceptionBox(const QString& text) {
    if (exceptionBox()) {
        exceptionBox()(text);
        return;
    }
    QMessageBox::critical(owner().data(), title(), text, QMessageBox::Ok);
}

} // namespace

AppDialogs::ExceptionCollector::ExceptionCollector(QStringList& into)
    : previous_(std::exchange(exceptions().collector, &into)) {}

AppDialogs::ExceptionCollector::~ExceptionCollector() {
    exceptions().collector = previous_;
}

void AppDialogs::showException(const QString& text) {
    ExceptionQueue& queue = exceptions();
    if (queue.collector) {
        if (!queue.collector->contains(text))
            queue.collector->append(text);
        return;
    }
    if (queue.open) {
        if (text != queue.shown && !queue.waiting.contains(text))
            queue.waiting.append(text);
        return;
    }
    struct Closed {
        ExceptionQueue& queue;
        ~Closed() {
            queue.open = false;
            queue.shown.clear();
        }
    } closed{queue};
    queue.open = true;
    queue.shown = text;
    for (;;) {
        showExceptionBox(queue.shown);
        if (queue.waiting.isEmpty())
            break;
        queue.shown = queue.waiting.takeFirst();
    }
}

bool AppDialogs::message(Icon icon, Buttons buttons, const QString& text) {
    if (messageBox())
        return messageBox()(icon, buttons, text);
    const QMessageBox::StandardButtons shown =
        buttons == Buttons::Ok ? QMessageBox::Ok : (QMessageBox::Ok | QMessageBox::Cancel);
    const auto answer = icon == Icon::Warning
                            ? QMessageBox::warning(owner().data(), title(), text, shown, QMessageBox::Ok)
                            : QMessageBox::critical(owner().data(), title(), text, shown, QMessageBox::Ok);
    return answer == QMessageBox::Ok;
}

void AppDialogs::setExceptionBox(ExceptionBox box) {
    exceptionBox() = std::move(box);
}

void AppDialogs::setMessageBox(MessageBox box) {
    messageBox() = std::move(box);
}

void AppDialogs::setOwner(QWidget* widget) {
    owner() = widget;
}
