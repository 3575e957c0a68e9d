#pragma once

#include <QAccessible>
#include <QList>
#include <QObject>
#include <QVariant>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

// Assistive technology switched on for a test, in process: factory installs the accessible interfaces
// as the program does at start-up, and every event the widgets raise is kept instead of going to the
// platform (the offscreen platform has an accessibility back end that a test may switch on). One at a
// time; user-interface thread only.
class AccessibilityRecorder {
public:
    struct Event {
        QAccessible::Event type = QAccessible::InvalidEvent;
        QAccessibleInterface* target = nullptr; // the object's interface, or a child's (a raster's cell)
        QVariant value;                         // of a ValueChanged event
        QAccessible::State changed;             // of a StateChanged event
        int position = -1;                      // of a TextInserted or TextRemoved event
        QString text;                           // the text it inserted or removed
    };

    explicit AccessibilityRecorder(QAccessible::InterfaceFactory factory) : factory_(factory) {
        QAccessible::installFactory(factory_);
        instance() = this;
        previous_ = QAccessible::installUpdateHandler(&AccessibilityRecorder::record);
        if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
    }
    ~AccessibilityRecorder() {
        if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(false);
        QAccessible::installUpdateHandler(previous_);
        instance() = nullptr;
        QAccessible::removeFactory(factory_);
    }
    AccessibilityRecorder(const AccessibilityRecorder&) = delete;
    AccessibilityRecorder& operator=(const AccessibilityRecorder&) = delete;

    static bool active() { return QAccessible::isActive(); }

    // The events of one type raised since the last take, oldest first; the others are dropped.
    QList<Event> take(QAccessible::Event type) {
        QList<Event> matching;
        for (const Event& e : std::as_const(events_))
            if (e.type == type)
                matching << e;
        events_.clear();
        return matching;
    }
    void clear() { events_.clear(); }

private:
    static AccessibilityRecorder*& instance() {
        static AccessibilityRecorder* current = nullptr;
        return current;
    }
    static void record(QAccessibleEvent* event) {
        if (!instance())
            return;
        Event e;
        e.type = event->type();
        e.target = event->accessibleInterface();
        if (event->type() == QAccessible::ValueChanged)
            e.value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
        if (event->type() == QAccessible::StateChanged)
            e.changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
        if (event->type() == QAccessible::TextInserted) {
            const auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
            e.position = inserted->changePosition();
            e.text = inserted->textInserted();
        }
        if (event->type() == QAccessible::TextRemoved) {
            const auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
            e.position = removed->changePosition();
            e.text = removed->textRemoved();
        }
        instance()->events_ << e;
    }

    QAccessible::InterfaceFactory factory_;
    QAccessible::UpdateHandler previous_ = nullptr;
    QList<Event> events_;
};
