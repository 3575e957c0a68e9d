#pragma once
// The serial layer: port numbers, opening by number, the machine's port list, serial defaults,
// extra ports supplied by the application, and the saved configuration. Owner's thread only.
//
// Port numbers on Linux: see PortNumbering (ttyS0 is 1, ttyUSB0 1001, ...). The device list holds
// the ports sysfs shows plus the extra ports; it is loaded on first use and reloaded (notification 3)
// when a serial device node appears in or vanishes from /dev. So a pulled adapter leaves the list
// (after its open port has closed with OnDeviceLost) and is listed again when plugged back in under
// the same name: GetDeviceIndex() then finds the port once more, after notification 3.
//
// Extra ports: a port enumeration cannot see (a pseudo-terminal, a custom symlink, a simulator) is
// added with AddExtraPort. Its device path may be fixed, or given by a provider called each time
// the port opens, for a device that exists only once the application has started it.
#include "PortEnumerator.h"
#include "TnrCustomComm.h"

class DeviceWatcher;

class TnrCustomSerialComm : public TnrCustomComm {
    Q_OBJECT
public:
    using PathProvider = std::function<QString()>;

    explicit TnrCustomSerialComm(QObject* parent = nullptr);
    ~TnrCustomSerialComm() override;

    quint16 ComPortNo() const { return FComPortNo; }
    // Moves an open port: closes it, stores the number, reopens, then notifies 3.
    void SetComPortNo(quint16 number);
    TComPort ComPort() const;
    void SetComPort(TComPort port);

    // Adds a port to the device list and returns its number (from 60001 on).
    quint16 AddExtraPort(const QString& displayName, const QString& devicePath);
    quint16 AddExtraPort(const QString& displayName, PathProvider provider);
    void RemoveExtraPort(quint16 number);

    // The source of the port list (default: sysfs). Replacing it reloads a loaded list.
    void SetPortEnumerator(std::shared_ptr<PortEnumerator> enumerator);
    // Watching /dev for plugged adapters starts with the first load of the list when an event loop
    // can exist (a QCoreApplication); it can be switched off.
    void SetWatchDeviceChanges(bool watch);
    bool WatchingDeviceChanges() const { return FWatcher != nullptr; }
    // The folder watched for device nodes (default /dev); a running watch moves there.
    void SetDeviceWatchDirectory(const QString& directory);

    int GetDeviceIndex() override;
    void SetDeviceIndex(int index) override;
    void DeviceListLoad() override;
    void Update() override;
    QString GetPortName() override;
    // The device node that ComPortNo opens, as far as known without opening it.
    QString DevicePathFor(quint16 number);

    // The longest latency timer of a USB adapter that the application's exchanges can live with at
    // the current rate (0: no check). When the adapter's timer is longer, after the low-latency
    // request at open, OnWarning says so once per open with the udev rule that shortens it; the open
    // goes ahead all the same. Checked at each open and whenever the budget changes.
    int LatencyBudget() const { return FLatencyBudgetMs; }
    void SetLatencyBudget(int milliseconds);

    // Adopts a descriptor opened elsewhere: closes the port and opens it on that descriptor.
    void SetExtHandle(int fd);
    void InitDeviceConnect();
    QString GetPNPDeviceString();

    // The 49-byte record (port number, line settings record, time-outs) under keyPath/valueName in
    // a small key-value file of ours; ConfigFile() defaults to nrcomm.conf in the user's
    // configuration folder.
    void SaveConfig(const QString& keyPath, const QString& valueName);
    void LoadConfig(const QString& keyPath, const QString& valueName);
    QString ConfigFile() const;
    void SetConfigFile(const QString& path) { FConfigFile = path; }
    QByteArray ConfigRecord();

protected:
    int RequestDeviceHandle() override;
    void InitAfterOpen() override;

private:
    struct ExtraPort {
        quint16 Number;
        QString Name;
        QString DevicePath;
        PathProvider Provider;
    };
    const ExtraPort* FindExtra(quint16 number) const;
    quint16 AddExtra(ExtraPort port);
    void StartWatcher();
    void CheckLatencyTimer();

    quint16 FComPortNo = 1;
    int FExtHandle = 0;
    std::shared_ptr<PortEnumerator> FEnumerator;
    QList<ExtraPort> FExtraPorts;
    quint16 FNextExtraNumber;
    DeviceWatcher* FWatcher = nullptr;
    bool FWatchWanted = true;
    QString FWatchDirectory = QStringLiteral("/dev");
    QString FConfigFile;
    int FLatencyBudgetMs = 0;
    bool FLatencyWarned = false;
};
