#pragma once
// TEMPORARY stand-in until the serial link lands: a port that never opens.
#include <QObject>
#include <stdexcept>
#include <string>
enum class TParity { pNone };
enum class TStopBits { sbOne };
enum class TStreamProtocol { spNone };
class TnrComm : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void SetBaudRate(unsigned v) { baud_ = v; }
    unsigned BaudRate() const { return baud_; }
    void SetParity(TParity) {}
    void SetStopBits(TStopBits) {}
    void SetByteSize(int) {}
    void SetStreamProtocol(TStreamProtocol) {}
    void SetBufferInSize(int) {}
    void SetBufferOutSize(int) {}
    void SetTimeoutRead(int) {}
    void SetTimeoutWrite(int) {}
    void SetComPortNo(int n) { port_ = n; }
    void SetActive(bool on)
    {
        if (on)
            throw std::runtime_error("Device \"COM" + std::to_string(port_) + "\" Open Error !!!\r(stand-in)");
        active_ = false;
    }
    bool GetActive() const { return active_; }
    std::string ReadString() { return {}; }
    void SendString(const std::string&) {}

private:
    unsigned baud_ = 19200;
    int port_ = 1;
    bool active_ = false;
};
