#include "TnrCustomSerialComm.h"

#include "DeviceWatcher.h"
#include "NrLineSettings.h"
#include "PortNumbering.h"
#include "SerialDevice.h"
#include "SysfsPortList.h"
#include "TnrConfigStore.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QThread>
#include <QtEndian>
#include <cerrno>

TnrCustomSerialComm::TnrCustomSerialComm(QObject* parent)
    : TnrCustomComm(parent), FEnumerator(std::make_shared<SysfsPortList>()),
      FNextExtraNumber(static_cast<quint16>(PortNumbering::FirstExtraNumber)) {
    SetLogPrefix(QStringLiteral("nrComm: "));
    FConfig.dcb = NrLineSettings::DefaultDcb();
    SetComPort(cpCOM1);
    SetBaudRate(19200);
    SetByteSize(8);
    SetParity(pNone);
    SetStopBits(sbOne);
    SetStreamProtocol(spHardware);
    SetEventChar(0);
}

TnrCustomSerialComm::~TnrCustomSerialComm() {
    JoinRetiredThreads();
    SetDataProcessor(nullptr);
    OnTraceState = nullptr;
    Close();
}

// ---- port number ----

void TnrCustomSerialComm::SetComPortNo(quint16 number) {
    if (FLoading) {
        FComPortNo = number;
        DoNotify(3);
        return;
    }
    const bool wasActive = GetActive();
    SetActive(false);
    FComPortNo = number;
    SetActive(wasActive);
    DoNotify(3);
}

TComPort TnrCustomSerialComm::ComPort() const {
    return FComPortNo >= 1 && FComPortNo <= 8 ? static_cast<TComPort>(FComPortNo - 1) : cpCOMxx;
}

void TnrCustomSerialComm::SetComPort(TComPort port) {
    if (port != cpCOMxx)
        SetComPortNo(static_cast<quint16>(port + 1));
}

// ---- device list ----

const TnrCustomSerialComm::ExtraPort* TnrCustomSerialComm::FindExtra(quint16 number) const {
    for (const ExtraPort& p : FExtraPorts)
        if (p.Number == number)
            return &p;
    return nullptr;
}

quint16 TnrCustomSerialComm::AddExtra(ExtraPort port) {
    port.Number = FNextExtraNumber++;
    FExtraPorts.append(port);
    if (GetDeviceCount() > 0)
        Update();
    return port.Number;
}

quint16 TnrCustomSerialComm::AddExtraPort(const QString& displayName, const QString& devicePath) {
    return AddExtra({0, displayName, devicePath, nullptr});
}

quint16 TnrCustomSerialComm::AddExtraPort(const QString& displayName, PathProvider provider) {
    return AddExtra({0, displayName, QString(), std::move(provider)});
}

void TnrCustomSerialComm::RemoveExtraPort(quint16 number) {
    for (qsizetype i = 0; i < FExtraPorts.size(); ++i) {
        if (FExtraPorts.at(i).Number == number) {
            FExtraPorts.removeAt(i);
            if (GetDeviceCount() > 0)
                Update();
            return;
        }
    }
}

void TnrCustomSerialComm::SetPortEnumerator(std::shared_ptr<PortEnumerator> enumerator) {
    FEnumerator = std::move(enumerator);
    if (GetDeviceCount() > 0)
        Update();
}

void TnrCustomSerialComm::SetWatchDeviceChanges(bool watch) {
    FWatchWanted = watch;
    if (!watch) {
        delete FWatcher;
        FWatcher = nullptr;
    } else if (GetDeviceCount() > 0) {
        StartWatcher();
    }
}

void TnrCustomSerialComm::SetDeviceWatchDirectory(const QString& directory) {
    if (directory == FWatchDirectory)
        return;
    FWatchDirectory = directory;
    if (FWatcher) {
        delete FWatcher;
        FWatcher = nullptr;
        StartWatcher();
    }
}

void TnrCustomSerialComm::StartWatcher() {
    if (FWatcher || !FWatchWanted || !QCoreApplication::instance())
        return;
    FWatcher = new DeviceWatcher(
        [this](bool arrival) {
            TnrDeviceChange change;
            change.Event = arrival ? TnrDeviceChange::DeviceArrival : TnrDeviceChange::DeviceRemoveComplete;
            WMDeviceChange(change);
        },
        FWatchDirectory, this);
}

void TnrCustomSerialComm::DeviceListLoad() {
    QList<PortEntry> sorted;
    if (FEnumerator)
        for (const PortEntry& e : FEnumerator->Enumerate())
            PortNumbering::InsertSorted(sorted, e);
    for (const ExtraPort& x : FExtraPorts) {
        PortEntry e;
        e.Name = x.Name;
        e.Number = x.Number;
        e.DevicePath = x.DevicePath;
        e.PathProvider = x.Provider;
        PortNumbering::InsertSorted(sorted, e);
    }
    for (const PortEntry& e : sorted) {
        auto device = std::make_unique<TnrDevice>();
        device->Name = e.Name;
        device->SecondName = e.Name;
        device->Data = e.Number;
        device->DevicePath = e.DevicePath;
        device->Description = e.Description;
        device->PathProvider = e.PathProvider;
        AddDevice(std::move(device));
    }
    StartWatcher();
}

int TnrCustomSerialComm::GetDeviceIndex() {
    return IndexOfDeviceData(FComPortNo);
}

void TnrCustomSerialComm::SetDeviceIndex(int index) {
    if (index >= 0 && index < GetDeviceCount())
        SetComPortNo(static_cast<quint16>(GetDevice(index)->Data));
}

void TnrCustomSerialComm::Update() {
    DeviceListClear();
    GetDeviceList(nullptr);
    DoNotify(3);
}

QString TnrCustomSerialComm::DevicePathFor(quint16 number) {
    if (const ExtraPort* x = FindExtra(number))
        return x->Provider ? x->Provider() : x->DevicePath;
    const int i = IndexOfDeviceData(number);
    if (i >= 0 && !GetDevice(i)->DevicePath.isEmpty())
        return GetDevice(i)->DevicePath;
    return PortNumbering::PathForNumber(number);
}

QString TnrCustomSerialComm::GetPortName() {
    if (const ExtraPort* x = FindExtra(FComPortNo))
        return x->Name;
    const int i = IndexOfDeviceData(FComPortNo);
    if (i >= 0 && !GetDevice(i)->DevicePath.isEmpty())
        return GetDevice(i)->DevicePath;
    const QString path = PortNumbering::PathForNumber(FComPortNo);
    return path.isEmpty() ? QStringLiteral("COM%1").arg(FComPortNo) : path;
}

// ---- open ----

int TnrCustomSerialComm::RequestDeviceHandle() {
    if (FExtHandle != 0) {
        const int fd = FExtHandle;
        FExtHandle = 0;
        return AdoptDeviceHandle(fd);
    }
    return OpenDevicePath(DevicePathFor(FComPortNo));
}

void TnrCustomSerialComm::InitAfterOpen() {
    TnrCustomComm::InitAfterOpen();
    FConfig.dcb.Flags |= NrDcb::fAbortOnError;
    DCBApply();
    FLatencyWarned = false;
    CheckLatencyTimer();
}

// ---- USB adapter latency ----

void TnrCustomSerialComm::SetLatencyBudget(int milliseconds) {
    if (milliseconds == FLatencyBudgetMs)
        return;
    FLatencyBudgetMs = milliseconds;
    if (PortReady())
        CheckLatencyTimer();
}

void TnrCustomSerialComm::CheckLatencyTimer() {
    if (FLatencyWarned || FLatencyBudgetMs <= 0 || !FEnumerator)
        return;
    const std::optional<AdapterLatency> latency = FEnumerator->LatencyOf(DevicePathFor(FComPortNo));
    if (!latency || latency->TimerMs <= FLatencyBudgetMs)
        return;
    FLatencyWarned = true;
    const int i = IndexOfDeviceData(FComPortNo);
    const QString adapter = i >= 0 ? GetDevice(i)->Name : GetPortName();
    const QString match = latency->Driver.isEmpty() ? QStringLiteral("KERNEL==\"%1\"").arg(latency->TtyName)
                                                    : QStringLiteral("DRIVER==\"%1\"").arg(latency->Driver);
    const QString text =
        QStringLiteral("%1 holds received bytes for up to %2 ms (its latency timer), longer than replies at "
                       "this baud rate can wait, so they may be missed. To set it to 1 ms whenever the "
                       "adapter is plugged in, put this line into "
                       "/etc/udev/rules.d/99-usb-serial-latency.rules: "
                       "ACTION==\"add\", SUBSYSTEM==\"usb-serial\", %3, ATTR{latency_timer}=\"1\"")
            .arg(adapter)
            .arg(latency->TimerMs)
            .arg(match);
    Logging(dlSimple, text);
    if (OnWarning)
        OnWarning(this, text);
}

void TnrCustomSerialComm::SetExtHandle(int fd) {
    if (fd == 0 || fd == InvalidHandle)
        return;
    if (GetActive())
        Close();
    FExtHandle = fd;
    Open();
}

// ---- auxiliary services ----

void TnrCustomSerialComm::InitDeviceConnect() {
    if (!GetActive())
        return;
    ClearDeviceBuffers();
    SetStateDTR(true);
    SetStateRTS(false);
    if (WaitForSignal(msDSR, 200)) {
        SetStateRTS(true);
        Logging(dlDetail, QStringLiteral("The device connection was succesful tested"));
    } else {
        DoFatalErrors(1, 0, QStringLiteral("Device Connect Initialization Error"), false);
    }
}

QString TnrCustomSerialComm::GetPNPDeviceString() {
    QString result;
    const bool wasActive = GetActive();
    SetActive(true);
    if (!GetActive())
        return result;
    ClearDeviceBuffers();
    SetStateDTR(true);
    SetStateRTS(false);
    if (!WaitForSignal(msDSR, 200)) {
        DoFatalErrors(1, 0, QStringLiteral("Device Connect Initialization Error"), false);
        return result;
    }
    DCBApply();
    const TDCB kept = FConfig.dcb;
    const TTraceStates keptStates = TraceStates();
    TDCB pnp = kept;
    pnp.BaudRate = 1200;
    pnp.ByteSize = 7;
    pnp.Parity = 0;
    pnp.StopBits = 0;
    Device()->ApplySettings(pnp);
    SetTraceStates({});

    SetStateDTR(false);
    SetStateRTS(false);
    QThread::msleep(200);
    SetStateDTR(true);
    QThread::msleep(200);
    SetStateRTS(true);
    bool any = WaitForBytes(1, 200);
    if (!any) {
        SetStateDTR(false);
        SetStateRTS(false);
        QThread::msleep(200);
        SetStateDTR(true);
        SetStateRTS(true);
        any = WaitForBytes(1, 200);
    }
    if (any) {
        char c = 0;
        if (Read(&c, 1) && (c == 0x08 || c == 0x28)) {
            const char end = c == 0x08 ? 0x09 : 0x29;
            result += QLatin1Char(c);
            while (WaitForBytes(1, 200) && Read(&c, 1)) {
                result += QLatin1Char(c);
                if (c == end)
                    break;
            }
        }
    }
    if (GetActive())
        Device()->ApplySettings(kept);
    SetTraceStates(keptStates);
    SetActive(false);
    SetActive(wasActive);
    return result;
}

// ---- saved configuration ----

QString TnrCustomSerialComm::ConfigFile() const {
    if (!FConfigFile.isEmpty())
        return FConfigFile;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/nrcomm.conf");
}

QByteArray TnrCustomSerialComm::ConfigRecord() {
    QByteArray record;
    record.append(static_cast<char>(FComPortNo & 0xFF));
    record.append(NrLineSettings::DcbToBytes(FConfig.dcb));
    const TCommTimeouts t = GetTimeouts();
    for (quint32 v : {t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant,
                      t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant}) {
        uchar le[4];
        qToLittleEndian<quint32>(v, le);
        record.append(reinterpret_cast<const char*>(le), 4);
    }
    return record;
}

void TnrCustomSerialComm::SaveConfig(const QString& keyPath, const QString& valueName) {
    try {
        if (!TnrConfigStore(ConfigFile()).Write(keyPath + QLatin1Char('\\') + valueName, ConfigRecord()))
            throw std::runtime_error("configuration file not written");
        Logging(dlDetail, QStringLiteral("Configuration was saved"));
    } catch (...) {
        DoFatalErrors(1, 0, QStringLiteral("Error on save config information from registry"), false);
    }
}

void TnrCustomSerialComm::LoadConfig(const QString& keyPath, const QString& valueName) {
    try {
        const auto value = TnrConfigStore(ConfigFile()).Read(keyPath + QLatin1Char('\\') + valueName);
        if (value && value->size() == 49) {
            const auto* p = reinterpret_cast<const uchar*>(value->constData());
            // The line settings in bytes 1..28 are read but, as in the record's origin, not applied.
            SetComPortNo(p[0]);
            TCommTimeouts t;
            t.ReadIntervalTimeout = qFromLittleEndian<quint32>(p + 29);
            t.ReadTotalTimeoutMultiplier = qFromLittleEndian<quint32>(p + 33);
            t.ReadTotalTimeoutConstant = qFromLittleEndian<quint32>(p + 37);
            t.WriteTotalTimeoutMultiplier = qFromLittleEndian<quint32>(p + 41);
            t.WriteTotalTimeoutConstant = qFromLittleEndian<quint32>(p + 45);
            SetTimeOuts(t);
        }
        Logging(dlDetail, QStringLiteral("Configuration was loaded"));
    } catch (...) {
        DoFatalErrors(1, 0, QStringLiteral("Error on load config information from registry"), false);
    }
}
