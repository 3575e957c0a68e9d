#pragma once
// Pure arithmetic on the line settings record and the event mask: no device involved.
#include "NrTypes.h"

#include <QByteArray>

namespace NrLineSettings {

// Flow control: set bits first, then mask; every flag not named is left as it was.
void ApplyStreamProtocol(TDCB& dcb, TStreamProtocol protocol);
TStreamProtocol ReadStreamProtocol(const TDCB& dcb);

// Byte sizes outside 4..8 are stored as 8.
quint8 NormalisedByteSize(quint8 size);

// The event mask for a set of trace states; receive-character events are always asked for.
quint32 EventMaskFor(TTraceStates states);
// Trace states for the bits of an event mask other than receive-character and output-empty.
TTraceStates TraceStatesFor(quint32 mask);

// The 28 bytes of the record as the original platform lays them out (little-endian).
QByteArray DcbToBytes(const TDCB& dcb);
TDCB DcbFromBytes(const QByteArray& bytes);

// The platform's default configuration of a serial port, before any property is applied.
TDCB DefaultDcb();

} // namespace NrLineSettings
