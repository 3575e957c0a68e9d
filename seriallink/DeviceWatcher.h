#pragma once
// Tells when a serial device node appears in or vanishes from /dev (a USB adapter plugged in or
// pulled out), through inotify on the directory and a QSocketNotifier: no polling. Bursts of
// changes (udev creates the node, then its links) are reported once, a moment after they settle.
// Lives on the thread that created it, which needs an event loop.
#include <QObject>
#include <QTimer>
#include <functional>

class QSocketNotifier;

class DeviceWatcher : public QObject {
    Q_OBJECT
public:
    // arrival is true when a node was created, false when only removals were seen.
    using Handler = std::function<void(bool arrival)>;

    explicit DeviceWatcher(Handler handler, const QString& devDir = QStringLiteral("/dev"),
                           QObject* parent = nullptr);
    ~DeviceWatcher() override;
    bool IsWatching() const { return FFd != -1; }
    // Whether a node name looks like a serial port worth a refresh.
    static bool IsSerialNodeName(const QString& name);

private:
    void ReadEvents();

    Handler FHandler;
    int FFd = -1;
    QSocketNotifier* FNotifier = nullptr;
    QTimer FSettle;
    bool FArrival = false;
};
