#pragma once
// The string-event list: strings the receive dispatcher looks for in the received bytes.
// Owner's thread only.
#include <QByteArray>
#include <QList>

struct TCommEvent {
    quint32 MatchPos = 0; // bytes of the string matched so far
    quint32 Length = 0;
    QByteArray Bytes;
    quint32 LastPos = 0; // index, in the last received block, of the byte completing the latest match
};

class TEventList {
public:
    int AddNewEvent(const QByteArray& s);
    int Add(const TCommEvent* event);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(FEvents.size()); }
    void SetEventString(int index, const QByteArray& s);
    QByteArray GetEventString(int index) const;
    TCommEvent GetEvent(int index) const { return FEvents.at(index); }
    void SetEvent(int index, const TCommEvent& event);
    void SetLastPosition(int index, quint32 position) { FEvents[index].LastPos = position; }

    // Makes room for the longest string, a block of size bytes and a terminating zero.
    void PrepareBuffer(quint32 size);
    // Writes the string of event index, then n bytes, then a zero byte; returns string length + n.
    quint32 SetBufferByEvent(int index, const char* bytes, quint32 n);
    char* Buffer() { return FBuffer.data(); }
    quint32 Capacity() const { return static_cast<quint32>(FBuffer.size()); }
    quint32 LongestLength() const { return FLongest; }

    // Advances every matcher by one byte; the index of the first string completed, else -1.
    // A mismatch restarts at 1 when the byte is the string's first, else at 0 (no further fallback).
    int IsEvent(char b);
    void ResetStates();

private:
    QList<TCommEvent> FEvents;
    QByteArray FBuffer;
    quint32 FLongest = 0;
};
