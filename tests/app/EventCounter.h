#pragma once

#include <QEvent>
#include <QObject>

#include <initializer_list>

// Counts the events of one type that reach the objects it watches.
class EventCounter : public QObject {
public:
    explicit EventCounter(QEvent::Type type) : type_(type) {}

    void watch(std::initializer_list<QObject*> objects) {
        for (QObject* object : objects)
            object->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == type_;
        return false;
    }

    int count = 0;

private:
    QEvent::Type type_;
};
