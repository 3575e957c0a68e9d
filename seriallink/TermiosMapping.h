#pragma once
// Maps the line settings record onto a termios record and back (raw mode, CLOCAL, no signals).
// What termios cannot hold (XonLim/XoffLim, DTR/RTS control modes, error and end-of-file characters,
// the abort-on-error flag) stays in the record only: the tty layer sizes its own thresholds.
#include "NrTypes.h"

#include <termios.h>

namespace TermiosMapping {

// The Bxxx constant of a standard rate, or 0 when the rate needs the custom-rate call.
speed_t StandardSpeed(quint32 baud);
quint32 BaudOf(speed_t speed);
// Fills t from the record; returns false when the rate is not a standard one (the caller sets it
// separately) — the other settings are filled in either case.
bool ToTermios(const TDCB& dcb, termios& t);
// Refreshes the record's rate, byte size, parity, stop bits and flow-control flags from t.
void FromTermios(const termios& t, quint32 baud, TDCB& dcb);

} // namespace TermiosMapping
