#pragma once

#include <QObject>

class QWidget;

// Start-up timing of one program, printed as one line of key=value pairs for bench_startup:
// main entry, window shown, first paint of the window done, and the resident memory at the first
// paint and after a settling time. User-interface thread only.
//
//     FirstPaintProbe probe;          // first thing in main
//     QApplication app(...);  ...; window.show(); probe.shown(&window);
//     return app.exec();              // quits itself once everything is printed
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe();
    // Call right after show(); the probe watches the window for its first paint.
    void shown(QWidget* window, int settleMilliseconds = 1000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void painted();
    void settled();

    long long mainNs_ = 0;
    long long shownNs_ = 0;
    long long paintedNs_ = 0;
    long rssPaintedKiB_ = 0;
    int settleMs_ = 0;
    bool seenPaint_ = false;
};
