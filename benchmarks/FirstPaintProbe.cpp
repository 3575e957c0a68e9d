#include "FirstPaintProbe.h"

#include "ProcessProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

FirstPaintProbe::FirstPaintProbe() : mainNs_(tkm::bench::MonotonicNs()) {}

void FirstPaintProbe::shown(QWidget* window, int settleMilliseconds) {
    shownNs_ = tkm::bench::MonotonicNs();
    settleMs_ = settleMilliseconds;
    window->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !seenPaint_) {
        seenPaint_ = true;
        watched->removeEventFilter(this);
        // The top level is painted first; the children and the flush to the screen follow in the
        // same pass, and a zero timer runs once that pass is over.
        QTimer::singleShot(0, this, [this] { painted(); });
    }
    return false;
}

void FirstPaintProbe::painted() {
    paintedNs_ = tkm::bench::MonotonicNs();
    rssPaintedKiB_ = tkm::bench::ReadMemoryStatus().rssKiB;
    QTimer::singleShot(settleMs_, this, [this] { settled(); });
}

void FirstPaintProbe::settled() {
    const tkm::bench::MemoryStatus memory = tkm::bench::ReadMemoryStatus();
    std::printf(
        "main_ns=%lld shown_ns=%lld painted_ns=%lld rss_painted_kib=%ld rss_settled_kib=%ld hwm_kib=%ld\n",
        mainNs_, shownNs_, paintedNs_, rssPaintedKiB_, memory.rssKiB, memory.hwmKiB);
    std::fflush(stdout);
    QCoreApplication::quit();
}
