#pragma once
// TEMPORARY stand-in until the serial link lands: a port that never opens.
#include <QByteArray>
#include <QObject>
#include <functional>
#include <stdexcept>
#include <string>
enum TParity { pNone };
enum TStopBits { sbOne };
enum TStreamProtocol { spNone };
class TnrBaseIO : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    using ErrorPresenter = std::function<void(const QString& caption, const QString& text)>;
    static void SetErrorPresenter(ErrorPresenter) {}
};
class TnrComm : public TnrBaseIO {
    Q_OBJECT
public:
    using PathProvider = std::function<QString()>;
    using TnrBaseIO::TnrBaseIO;
    void SetBaudRate(quint32 v) { baud_ = v; }
    void SetParity(TParity) {}
    void SetStopBits(TStopBits) {}
    void SetByteSize(quint8) {}
    void SetStreamProtocol(TStreamProtocol) {}
    void SetBufferInSize(quint16) {}
    void SetBufferOutSize(quint16) {}
    void SetTimeoutRead(quint32) {}
    void SetTimeoutWrite(quint32) {}
    void SetComPortNo(quint16 n) { port_ = n; }
    quint16 AddExtraPort(const QString&, PathProvider) { return 60001; }
    void SetActive(bool on)
    {
        if (on)
            throw std::runtime_error("Device \"COM" + std::to_string(port_) + "\" Open Error !!!\r(stand-in)");
    }
    bool GetActive() { return false; }
    QByteArray ReadString() { return {}; }
    void SendString(const QByteArray&) {}
    quint32 GetReadyForRead() { return 0; }

private:
    quint32 baud_ = 19200;
    int port_ = 1;
};
