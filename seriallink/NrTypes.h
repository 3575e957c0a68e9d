#pragma once
// Enumerations, sets and line records shared by the serial link classes.
#include <QtGlobal>
#include <initializer_list>

// A small set over an enumeration with at most 32 values (the component framework's "set of").
template <typename E> class TnrSet {
public:
    constexpr TnrSet() = default;
    constexpr TnrSet(std::initializer_list<E> values) {
        for (E v : values)
            FBits |= Bit(v);
    }
    static constexpr TnrSet FromBits(quint32 bits) {
        TnrSet s;
        s.FBits = bits;
        return s;
    }
    constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
    constexpr TnrSet& Include(E v) {
        FBits |= Bit(v);
        return *this;
    }
    constexpr TnrSet& Exclude(E v) {
        FBits &= ~Bit(v);
        return *this;
    }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr quint32 Bits() const { return FBits; }
    constexpr bool operator==(const TnrSet&) const = default;

private:
    static constexpr quint32 Bit(E v) { return static_cast<int>(v) < 32 ? 1u << static_cast<int>(v) : 0u; }
    quint32 FBits = 0;
};

enum TParity { pNone, pOdd, pEven, pMark, pSpace };
enum TStopBits { sbOne, sbOneAndHalf, sbTwo };
enum TComPort { cpCOM1, cpCOM2, cpCOM3, cpCOM4, cpCOM5, cpCOM6, cpCOM7, cpCOM8, cpCOMxx };
enum TStreamProtocol { spNone, spXonXoff, spHardware };
enum TTraceState {
    tsRxChar,
    tsRxFlag,
    tsTxEmpty,
    tsCTS,
    tsDSR,
    tsRLSD,
    tsBreak,
    tsErr,
    tsRing,
    tsRx80Full,
    tsEvent1,
    tsEvent2
};
using TTraceStates = TnrSet<TTraceState>;
enum TModemSignal { msCTS, msDSR, msRing, msRLSD };
using TModemSignals = TnrSet<TModemSignal>;
enum TDetailLevel { dlSimple, dlDetail, dlDebug };
enum TTerminalUsage { tuNone, tuSend, tuReceive, tuBoth };
enum TIgnoreType { itTerminal, itEventList, itAfterReceive, itTraceState };
using TIgnoreTypes = TnrSet<TIgnoreType>;
// The line-status flag bits, in the order the status record keeps them.
enum TComStateFlag { fCtlHold, fDsrHold, fRlsHold, fXoffHold, fXoffSent, fEof, fTxim };
using TComStateFlags = TnrSet<TComStateFlag>;

// Line event bits as the event mask carries them.
namespace NrEv {
constexpr quint32 RxChar = 0x0001;
constexpr quint32 RxFlag = 0x0002;
constexpr quint32 TxEmpty = 0x0004;
constexpr quint32 Cts = 0x0008;
constexpr quint32 Dsr = 0x0010;
constexpr quint32 Rlsd = 0x0020;
constexpr quint32 Break = 0x0040;
constexpr quint32 Err = 0x0080;
constexpr quint32 Ring = 0x0100;
constexpr quint32 PrinterErr = 0x0200;
constexpr quint32 Rx80Full = 0x0400;
constexpr quint32 Event1 = 0x0800;
constexpr quint32 Event2 = 0x1000;
} // namespace NrEv

// Line error bits reported with the line status.
namespace NrCe {
constexpr quint32 RxOver = 0x0001;
constexpr quint32 Overrun = 0x0002;
constexpr quint32 RxParity = 0x0004;
constexpr quint32 Frame = 0x0008;
constexpr quint32 Break = 0x0010;
} // namespace NrCe

// The line settings record, laid out field for field as the original 28-byte device control block,
// so that the flag arithmetic of the flow-control settings and the saved configuration keep their meaning.
struct TDCB {
    quint32 DCBlength = 28;
    quint32 BaudRate = 9600;
    quint32 Flags = 0x0001; // fBinary
    quint16 wReserved = 0;
    quint16 XonLim = 2048;
    quint16 XoffLim = 512;
    quint8 ByteSize = 8;
    quint8 Parity = 0;
    quint8 StopBits = 0;
    char XonChar = 0x11;
    char XoffChar = 0x13;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    quint16 wReserved1 = 0;
};

// Bits of TDCB::Flags.
namespace NrDcb {
constexpr quint32 fBinary = 0x0001;
constexpr quint32 fParity = 0x0002;
constexpr quint32 fOutxCtsFlow = 0x0004;
constexpr quint32 fOutxDsrFlow = 0x0008;
constexpr quint32 fDtrControlEnable = 0x0010;
constexpr quint32 fDtrControlHandshake = 0x0020;
constexpr quint32 fDsrSensitivity = 0x0040;
constexpr quint32 fTXContinueOnXoff = 0x0080;
constexpr quint32 fOutX = 0x0100;
constexpr quint32 fInX = 0x0200;
constexpr quint32 fErrorChar = 0x0400;
constexpr quint32 fNull = 0x0800;
constexpr quint32 fRtsControlEnable = 0x1000;
constexpr quint32 fRtsControlHandshake = 0x2000;
constexpr quint32 fRtsControlMask = 0x3000;
constexpr quint32 fAbortOnError = 0x4000;
} // namespace NrDcb

struct TCommConfig {
    quint32 dwSize = 52;
    quint16 wVersion = 1;
    quint16 wReserved = 0;
    TDCB dcb;
    quint32 dwProviderSubType = 1; // RS-232
    quint32 dwProviderOffset = 0;
    quint32 dwProviderSize = 0;
};

struct TCommTimeouts {
    quint32 ReadIntervalTimeout = 0;
    quint32 ReadTotalTimeoutMultiplier = 0;
    quint32 ReadTotalTimeoutConstant = 0;
    quint32 WriteTotalTimeoutMultiplier = 0;
    quint32 WriteTotalTimeoutConstant = 0;
    bool operator==(const TCommTimeouts&) const = default;
};

struct TComStat {
    TComStateFlags Flags;
    quint32 cbInQue = 0;
    quint32 cbOutQue = 0;
};

// Port properties; Linux reports no queue sizes, so the current queue fields stay 0.
struct TCommProp {
    quint32 dwMaxTxQueue = 0;
    quint32 dwMaxRxQueue = 0;
    quint32 dwMaxBaud = 0x10000000; // any rate the driver accepts
    quint32 dwProvSubType = 1;
    quint32 dwCurrentTxQueue = 0;
    quint32 dwCurrentRxQueue = 0;
};
