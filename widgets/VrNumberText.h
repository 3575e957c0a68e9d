#pragma once

#include <QChar>
#include <QString>
#include <optional>

// Number <-> text conversions of the numeric edit, with the decimal separator passed in
// (the widget passes the system locale's).

// Strict parse: optional blanks, optional sign, digits with at most one separator (at least one digit),
// optional exponent (e/E, optional sign, digits), optional blanks. Nothing else.
std::optional<double> vrParseFloat(const QString& text, QChar separator);

// General form: up to `precision` significant digits, no trailing zeros; fixed-point while the value has
// at most `precision` integer digits and is at least 0.00001, otherwise scientific ("1.5E20", "1E-7").
QString vrFormatGeneral(double value, QChar separator, int precision = 15);

// Fixed-point with `decimals` decimals (0..18), halves rounded away from zero from the value's 15
// significant digits; a value with more than 18 integer digits falls back to the general form.
QString vrFormatFixed(double value, int decimals, QChar separator);

// What the numeric edit does with one typed character.
struct VrNumEditKeyAction {
    enum Kind {
        Pass,    // let the edit control insert it
        Consume, // drop it
        Replace, // drop it and set `text` with the caret at `caret`
    };
    Kind kind = Pass;
    QString text;
    int caret = 0;
};

struct VrNumEditKeyContext {
    QString text;
    int caret = 0;
    int decimals = 0;
    QChar separator = QLatin1Char('.');
    bool restoreOnEsc = false;
    QString savedText; // the text the box had when it got the focus
};

VrNumEditKeyAction vrNumEditFilterKey(QChar key, const VrNumEditKeyContext& context);

// What the numeric edit makes of text arriving in one piece (pasted, dropped, committed by an input
// method): each character goes through the typed-key rule in turn at a moving caret, as if typed there,
// so what the rule lets through is kept and the rest dropped; control characters are dropped too (a
// pasted text carries no keys). The first character let in replaces the selection of `selectionLength`
// characters from `selectionStart`, as typing it would.
struct VrNumEditInsertion {
    QString text;
    int caret = 0;
};

VrNumEditInsertion vrNumEditFilterInsertion(const QString& incoming, const VrNumEditKeyContext& context,
                                            int selectionStart, int selectionLength);
