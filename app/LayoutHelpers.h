#pragma once

#include <QString>
#include <QWidget>

#include <utility>

// Creates a child widget with its component name and its place on the parent, as the window is
// designed (fixed pixel positions).
template <class W, class... Args>
W* place(QWidget* parent, const char* name, int x, int y, int width, int height, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

template <class W, class... Args>
W* place(QWidget* parent, const QString& name, int x, int y, int width, int height, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setGeometry(x, y, width, height);
    return widget;
}
