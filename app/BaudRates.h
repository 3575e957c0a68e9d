#pragma once

#include <QStringList>

// The ten rates of the baud-rate lists (the connection's BR and the Setting page's BRNew); a rate's
// list index is what the protocol's timing and the configuration's baud code are built on.
namespace BaudRates {

inline constexpr int kCount = 10;
inline constexpr int kIndex9600 = 5;

inline QStringList texts() {
    return {QStringLiteral("300"),   QStringLiteral("600"),   QStringLiteral("1200"),
            QStringLiteral("2400"),  QStringLiteral("4800"),  QStringLiteral("9600"),
            QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("57600"),
            QStringLiteral("115200")};
}

} // namespace BaudRates
