#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What a widget's states mean, in words, for assistive technology: an LED that shows a status ("Green -
// normal status" dark, "Red - alarm status" lit), the stops of a switch ("IN", "OUT"). The application
// gives them; the widget keeps them. User-interface thread only.
class VrStateTexts {
public:
    // Texts by state: an LED's dark then lit state, a switch's stops by Offset.
    static void Set(QWidget* Widget, const QStringList& Texts);
    // The text of a state; empty when none was given.
    static QString Text(const QWidget* Widget, int State);
};
