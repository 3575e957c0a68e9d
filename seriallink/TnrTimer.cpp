#include "TnrTimer.h"

#include <QTimerEvent>

TnrTimer::TnrTimer(QObject* parent) : QObject(parent) {}

TnrTimer::~TnrTimer() {
    FEnabled = false;
    Rearm();
}

void TnrTimer::SetEnabled(bool value) {
    FEnabled = value;
    Rearm();
}

void TnrTimer::SetInterval(int ms) {
    FInterval = ms;
    Rearm();
}

void TnrTimer::SetOnTimer(std::function<void(TnrTimer*)> handler) {
    FOnTimer = std::move(handler);
    Rearm();
}

void TnrTimer::Rearm() {
    if (FTimerId != 0) {
        killTimer(FTimerId);
        FTimerId = 0;
    }
    if (FInterval != 0 && FEnabled && FOnTimer)
        FTimerId = startTimer(FInterval);
}

void TnrTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() != FTimerId || !FEnabled || !FOnTimer)
        return;
    try {
        FOnTimer(this);
    } catch (...) {
        // A failing time-out handler must not stop the timer's owner.
    }
}
