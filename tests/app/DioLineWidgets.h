#pragma once

#include "app/DioPage.h"
#include "app/TF1.h"

#include "widgets/TVrSwitch.h"
#include "widgets/TVrUserLed.h"

#include <QLabel>
#include <QString>

#include <string>

// The DIO page's widgets of line k in a main window, found by name as the page's rules find them.
namespace dio_lines {

inline TVrUserLed* led(const TF1& window, int line) {
    return window.findChild<TVrUserLed*>(QStringLiteral("DIO%1").arg(line));
}

inline TVrSwitch* directionSwitch(const TF1& window, int line) {
    return window.findChild<TVrSwitch*>(QStringLiteral("DDIO%1").arg(line));
}

inline QString directionLabel(const TF1& window, int line) {
    return window.findChild<QLabel*>(QStringLiteral("CDDIO%1").arg(line))->text();
}

// The byte an LED bank ("DIO", "PON", "SAFE") shows.
inline std::string bank(const TF1& window, const char* prefix = "DIO") {
    return window.DIO->ReadLedBank(QString::fromLatin1(prefix));
}

} // namespace dio_lines
