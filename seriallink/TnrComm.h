#pragma once
// The serial port component the application places. It publishes the properties of its bases
// (here also as Qt properties, so tools and tests can reach them by name) and adds no behaviour.
// Owner's thread only; see TnrCustomComm for the worker threads.
#include "TnrCustomSerialComm.h"

class TnrComm : public TnrCustomSerialComm {
    Q_OBJECT
    Q_PROPERTY(bool Active READ GetActive WRITE SetActive)
    Q_PROPERTY(quint32 BaudRate READ BaudRate WRITE SetBaudRate)
    Q_PROPERTY(int ByteSize READ ByteSizeValue WRITE SetByteSizeValue)
    Q_PROPERTY(int ComPortNo READ ComPortNoValue WRITE SetComPortNoValue)
    Q_PROPERTY(bool EventListOnLine READ EventListOnLine WRITE SetEventListOnLine)
    Q_PROPERTY(int BufferInSize READ BufferInSizeValue WRITE SetBufferInSizeValue)
    Q_PROPERTY(int BufferOutSize READ BufferOutSizeValue WRITE SetBufferOutSizeValue)
    Q_PROPERTY(quint32 TimeoutRead READ TimeoutRead WRITE SetTimeoutRead)
    Q_PROPERTY(quint32 TimeoutWrite READ TimeoutWrite WRITE SetTimeoutWrite)
    Q_PROPERTY(bool TerminalEcho READ TerminalEcho WRITE SetTerminalEcho)
public:
    explicit TnrComm(QObject* parent = nullptr);
    ~TnrComm() override;

private:
    int ByteSizeValue() { return ByteSize(); }
    void SetByteSizeValue(int v) { SetByteSize(static_cast<quint8>(qBound(0, v, 255))); }
    int ComPortNoValue() const { return ComPortNo(); }
    void SetComPortNoValue(int v) { SetComPortNo(static_cast<quint16>(v)); }
    int BufferInSizeValue() { return BufferInSize(); }
    void SetBufferInSizeValue(int v) { SetBufferInSize(static_cast<quint16>(v)); }
    int BufferOutSizeValue() { return BufferOutSize(); }
    void SetBufferOutSizeValue(int v) { SetBufferOutSize(static_cast<quint16>(v)); }
};
