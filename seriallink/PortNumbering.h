#pragma once
// Port numbers and the order of the port list.
//
// A port number n stands for a port as COMn did: Linux ports get stable numbers by family, so the
// same adapter keeps its number across runs: ttyS<k> is k+1 (so COM1 is the first on-board port,
// /dev/ttyS0), ttyUSB<k> is 1001+k, ttyACM<k> 2001+k, ttyAMA<k> 3001+k, rfcomm<k> 4001+k, and a
// few more families follow in steps of 1000. Ports of families not in the table get numbers from
// 40001 on in the order they are found; ports the application adds get numbers from 60001 on.
#include "PortEnumerator.h"

#include <QList>
#include <QString>
#include <optional>

namespace PortNumbering {

constexpr quint32 FirstUnlistedNumber = 40001;
constexpr quint32 FirstExtraNumber = 60001;

// The stable number of a tty name ("ttyUSB0" → 1001), if its family is known.
std::optional<quint32> NumberForTty(const QString& ttyName);
// The device path of a stable number (1 → /dev/ttyS0), if the number belongs to a known family.
QString PathForNumber(quint32 number);
// A port name of the Windows kind: upper-cased, and the decimal number after "COM".
std::optional<PortEntry> ParseComName(const QString& text);
// Inserts keeping ascending numbers: appended when larger than the last; otherwise before the first
// larger one, so an entry equal to the largest number is dropped and other duplicates stay behind
// their equals.
void InsertSorted(QList<PortEntry>& list, const PortEntry& entry);

} // namespace PortNumbering
