#include "NrLineSettings.h"

#include <QtEndian>

namespace NrLineSettings {

namespace {
struct ProtocolMasks {
    quint32 set;
    quint32 keep;
};
constexpr ProtocolMasks kMasks[] = {
    {0x0011, 0x4CFB}, // spNone
    {0x0311, 0x4FFB}, // spXonXoff
    {0x2015, 0x2CFF}, // spHardware
};
} // namespace

void ApplyStreamProtocol(TDCB& dcb, TStreamProtocol protocol) {
    const ProtocolMasks& m = kMasks[protocol];
    dcb.Flags = (dcb.Flags | m.set) & m.keep;
    if (protocol == spXonXoff) {
        dcb.XonLim = 10;
        dcb.XoffLim = 10;
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
    }
}

TStreamProtocol ReadStreamProtocol(const TDCB& dcb) {
    if ((dcb.Flags & kMasks[spXonXoff].set) == kMasks[spXonXoff].set)
        return spXonXoff;
    if ((dcb.Flags & kMasks[spHardware].set) == kMasks[spHardware].set)
        return spHardware;
    return spNone;
}

quint8 NormalisedByteSize(quint8 size) {
    return size >= 4 && size <= 8 ? size : 8;
}

namespace {
struct StateBit {
    TTraceState state;
    quint32 bit;
};
constexpr StateBit kStateBits[] = {
    {tsRxFlag, NrEv::RxFlag},     {tsTxEmpty, NrEv::TxEmpty}, {tsCTS, NrEv::Cts},       {tsDSR, NrEv::Dsr},
    {tsRLSD, NrEv::Rlsd},         {tsBreak, NrEv::Break},     {tsErr, NrEv::Err},       {tsRing, NrEv::Ring},
    {tsRx80Full, NrEv::Rx80Full}, {tsEvent1, NrEv::Event1},   {tsEvent2, NrEv::Event2},
};
} // namespace

quint32 EventMaskFor(TTraceStates states) {
    quint32 mask = NrEv::RxChar;
    for (const StateBit& sb : kStateBits)
        if (states.Contains(sb.state))
            mask |= sb.bit;
    return mask;
}

TTraceStates TraceStatesFor(quint32 mask) {
    TTraceStates states;
    for (const StateBit& sb : kStateBits)
        if (sb.bit != NrEv::TxEmpty && (mask & sb.bit))
            states.Include(sb.state);
    return states;
}

QByteArray DcbToBytes(const TDCB& dcb) {
    QByteArray out(28, '\0');
    uchar* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<quint32>(dcb.DCBlength, p);
    qToLittleEndian<quint32>(dcb.BaudRate, p + 4);
    qToLittleEndian<quint32>(dcb.Flags, p + 8);
    qToLittleEndian<quint16>(dcb.wReserved, p + 12);
    qToLittleEndian<quint16>(dcb.XonLim, p + 14);
    qToLittleEndian<quint16>(dcb.XoffLim, p + 16);
    p[18] = dcb.ByteSize;
    p[19] = dcb.Parity;
    p[20] = dcb.StopBits;
    p[21] = static_cast<uchar>(dcb.XonChar);
    p[22] = static_cast<uchar>(dcb.XoffChar);
    p[23] = static_cast<uchar>(dcb.ErrorChar);
    p[24] = static_cast<uchar>(dcb.EofChar);
    p[25] = static_cast<uchar>(dcb.EvtChar);
    qToLittleEndian<quint16>(dcb.wReserved1, p + 26);
    return out;
}

TDCB DcbFromBytes(const QByteArray& bytes) {
    TDCB dcb;
    if (bytes.size() < 28)
        return dcb;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData());
    dcb.DCBlength = qFromLittleEndian<quint32>(p);
    dcb.BaudRate = qFromLittleEndian<quint32>(p + 4);
    dcb.Flags = qFromLittleEndian<quint32>(p + 8);
    dcb.wReserved = qFromLittleEndian<quint16>(p + 12);
    dcb.XonLim = qFromLittleEndian<quint16>(p + 14);
    dcb.XoffLim = qFromLittleEndian<quint16>(p + 16);
    dcb.ByteSize = p[18];
    dcb.Parity = p[19];
    dcb.StopBits = p[20];
    dcb.XonChar = static_cast<char>(p[21]);
    dcb.XoffChar = static_cast<char>(p[22]);
    dcb.ErrorChar = static_cast<char>(p[23]);
    dcb.EofChar = static_cast<char>(p[24]);
    dcb.EvtChar = static_cast<char>(p[25]);
    dcb.wReserved1 = qFromLittleEndian<quint16>(p + 26);
    return dcb;
}

TDCB DefaultDcb() {
    // 9600 baud, 8 data bits, no parity, one stop bit, binary mode, DTR and RTS enabled.
    TDCB dcb;
    dcb.Flags = NrDcb::fBinary | NrDcb::fDtrControlEnable | NrDcb::fRtsControlEnable;
    return dcb;
}

} // namespace NrLineSettings
