#include "DeviceWatcher.h"

#include <QSocketNotifier>
#include <sys/inotify.h>
#include <unistd.h>

DeviceWatcher::DeviceWatcher(Handler handler, const QString& devDir, QObject* parent)
    : QObject(parent), FHandler(std::move(handler)) {
    FSettle.setSingleShot(true);
    FSettle.setInterval(300);
    connect(&FSettle, &QTimer::timeout, this, [this] {
        const bool arrival = FArrival;
        FArrival = false;
        if (FHandler)
            FHandler(arrival);
    });
    FFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (FFd == -1)
        return;
    if (::inotify_add_watch(FFd, devDir.toLocal8Bit().constData(),
                            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO) == -1) {
        ::close(FFd);
        FFd = -1;
        return;
    }
    FNotifier = new QSocketNotifier(FFd, QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &DeviceWatcher::ReadEvents);
}

DeviceWatcher::~DeviceWatcher() {
    delete FNotifier;
    if (FFd != -1)
        ::close(FFd);
}

bool DeviceWatcher::IsSerialNodeName(const QString& name) {
    static const char* const prefixes[] = {"ttyS",     "ttyUSB", "ttyACM", "ttyAMA", "rfcomm", "ttyGS",
                                           "ttyHS",    "ttymxc", "ttyO",   "ttySAC", "ttyTHS", "ttyMSM",
                                           "ttyXRUSB", "ttySC",  "ttyPS",  "ttyUL"};
    for (const char* p : prefixes)
        if (name.startsWith(QLatin1StringView(p)))
            return true;
    return false;
}

void DeviceWatcher::ReadEvents() {
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    for (;;) {
        const ssize_t n = ::read(FFd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t off = 0; off < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + off);
            const QString name = e->len ? QString::fromLocal8Bit(e->name) : QString();
            if (IsSerialNodeName(name)) {
                relevant = true;
                if (e->mask & (IN_CREATE | IN_MOVED_TO))
                    FArrival = true;
            }
            off += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    if (relevant)
        FSettle.start();
}
