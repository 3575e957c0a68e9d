#include "TEventList.h"

#include <cstring>

int TEventList::AddNewEvent(const QByteArray& s) {
    TCommEvent e;
    e.Bytes = s;
    e.Length = static_cast<quint32>(s.size());
    return Add(&e);
}

int TEventList::Add(const TCommEvent* event) {
    FEvents.append(event ? *event : TCommEvent{});
    FLongest = qMax(FLongest, FEvents.last().Length);
    return Count() - 1;
}

void TEventList::Delete(int index) {
    if (index >= 0 && index < Count())
        FEvents.removeAt(index);
}

void TEventList::Clear() {
    FEvents.clear();
}

void TEventList::SetEventString(int index, const QByteArray& s) {
    FEvents[index].Bytes = s;
    FEvents[index].Length = static_cast<quint32>(s.size());
    FLongest = qMax(FLongest, FEvents[index].Length);
}

QByteArray TEventList::GetEventString(int index) const {
    return FEvents.at(index).Bytes.left(FEvents.at(index).Length);
}

void TEventList::SetEvent(int index, const TCommEvent& event) {
    FEvents[index] = event;
    FLongest = qMax(FLongest, event.Length);
}

void TEventList::PrepareBuffer(quint32 size) {
    const quint32 needed = FLongest + size + 4;
    if (needed > Capacity())
        FBuffer = QByteArray(static_cast<qsizetype>(needed), '\0');
}

quint32 TEventList::SetBufferByEvent(int index, const char* bytes, quint32 n) {
    const TCommEvent& e = FEvents.at(index);
    // A string added after the port opened may be longer than the buffer was prepared for.
    if (e.Length + n + 1 > Capacity())
        FBuffer = QByteArray(static_cast<qsizetype>(e.Length + n + 4), '\0');
    char* out = FBuffer.data();
    std::memcpy(out, e.Bytes.constData(), e.Length);
    if (n)
        std::memcpy(out + e.Length, bytes, n);
    out[e.Length + n] = '\0';
    return e.Length + n;
}

int TEventList::IsEvent(char b) {
    for (int i = 0; i < Count(); ++i) {
        TCommEvent& e = FEvents[i];
        if (e.Length == 0)
            continue;
        if (e.Bytes.at(e.MatchPos) == b)
            ++e.MatchPos;
        else
            e.MatchPos = e.Bytes.at(0) == b ? 1 : 0;
        if (e.MatchPos >= e.Length) {
            e.LastPos = e.MatchPos;
            e.MatchPos = 0;
            return i;
        }
    }
    return -1;
}

void TEventList::ResetStates() {
    for (TCommEvent& e : FEvents)
        e.MatchPos = 0;
}
