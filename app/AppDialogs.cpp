#include "AppDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {

AppDialogs::ExceptionBox& exceptionBox() {
    static AppDialogs::ExceptionBox box;
    return box;
}

AppDialogs::MessageBox& messageBox() {
    static AppDialogs::MessageBox box;
    return box;
}

QPointer<QWidget>& owner() {
    static QPointer<QWidget> widget;
    return widget;
}

QString title() {
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QApplication::applicationName() : name;
}

} // namespace

void AppDialogs::showException(const QString& text) {
    if (exceptionBox()) {
        exceptionBox()(text);
        return;
    }
    QMessageBox::critical(owner().data(), title(), text, QMessageBox::Ok);
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
