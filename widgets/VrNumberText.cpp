#include "VrNumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Decimal digits of |value| rounded to `precision` significant digits: value = 0.d1d2d3... x 10^(exponent+1),
// i.e. the first digit stands at the 10^exponent place.
struct Digits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Digits toDigits(double value, int precision) {
    Digits d;
    d.negative = std::signbit(value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(value));
    const std::string s(buf);
    const auto e = s.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] != '.')
            d.digits += s[i];
    d.exponent = std::stoi(s.substr(e + 1));
    return d;
}

bool allZero(const std::string& s) {
    return s.find_first_not_of('0') == std::string::npos;
}

QString special(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Digits placed around the decimal point: `digits` start at the 10^exponent place; `decimals` places after
// the point (-1: as many as the digits reach).
QString placeDigits(const std::string& digits, int exponent, int decimals, QChar separator) {
    std::string intPart;
    std::string frac;
    for (int place = std::max(exponent, 0); place >= 0; --place) {
        const int i = exponent - place;
        intPart += (i >= 0 && i < int(digits.size())) ? digits[i] : '0';
    }
    const int fracCount = decimals >= 0 ? decimals : std::max(0, int(digits.size()) - exponent - 1);
    for (int k = 1; k <= fracCount; ++k) {
        const int i = exponent + k;
        frac += (i >= 0 && i < int(digits.size())) ? digits[i] : '0';
    }
    QString out = QString::fromStdString(intPart);
    if (!frac.empty())
        out += separator + QString::fromStdString(frac);
    return out;
}

} // namespace

std::optional<double> vrParseFloat(const QString& text, QChar separator) {
    const QString t = text.trimmed();
    std::string plain;
    int i = 0;
    const int n = t.size();
    bool negative = false;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        negative = t[i++] == QLatin1Char('-');
    int digitCount = 0;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            plain += char(c.unicode());
            ++digitCount;
        } else if (c == separator && !seenSeparator) {
            plain += '.';
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digitCount == 0)
        return std::nullopt;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        plain += 'e';
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            plain += char(t[i++].unicode());
        int expDigits = 0;
        for (; i < n && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i, ++expDigits)
            plain += char(t[i].unicode());
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return negative ? -value : value;
}

QString vrFormatGeneral(double value, QChar separator, int precision) {
    if (!std::isfinite(value))
        return special(value);
    if (value == 0)
        return QStringLiteral("0");
    Digits d = toDigits(value, precision);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    QString out = d.negative ? QStringLiteral("-") : QString();
    if (d.exponent < precision && d.exponent >= -5)
        return out + placeDigits(d.digits, d.exponent, -1, separator);
    out += QLatin1Char(d.digits[0]);
    if (d.digits.size() > 1)
        out += separator + QString::fromStdString(d.digits.substr(1));
    return out + QLatin1Char('E') + QString::number(d.exponent);
}

QString vrFormatFixed(double value, int decimals, QChar separator) {
    constexpr int kPrecision = 18;
    if (!std::isfinite(value))
        return special(value);
    // A double holds 15 reliable decimal digits; rounding from more would round binary noise
    // (2.55 is stored as 2.54999999999999982 and would show as 2.5 with one decimal).
    constexpr int kReliable = 15;
    decimals = std::clamp(decimals, 0, kPrecision);
    Digits d = toDigits(value, kReliable);
    if (value == 0)
        d.exponent = 0;
    if (d.exponent >= kPrecision)
        return vrFormatGeneral(value, separator, kPrecision);
    const int keep = d.exponent + 1 + decimals; // digits before the rounding place
    if (keep < 0) {
        d.digits = "0";
    } else if (keep < int(d.digits.size())) {
        const bool up = d.digits[keep] >= '5';
        d.digits.resize(keep);
        if (up) {
            int k = keep - 1;
            for (; k >= 0 && d.digits[k] == '9'; --k)
                d.digits[k] = '0';
            if (k >= 0) {
                ++d.digits[k];
            } else {
                d.digits.insert(d.digits.begin(), '1');
                ++d.exponent;
            }
        }
        if (d.digits.empty())
            d.digits = "0";
    }
    const QString body = placeDigits(d.digits, d.exponent, decimals, separator);
    return (d.negative && !allZero(d.digits) ? QStringLiteral("-") : QString()) + body;
}

VrNumEditKeyAction vrNumEditFilterKey(QChar key, const VrNumEditKeyContext& c) {
    VrNumEditKeyAction a;
    if (key == QChar(27) && c.restoreOnEsc) {
        a.kind = VrNumEditKeyAction::Replace;
        a.text = c.savedText;
        a.caret = c.savedText.size();
        return a;
    }
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    if (!(key == QChar(8) || key == QLatin1Char('-') || digit || key == c.separator)) {
        a.kind = VrNumEditKeyAction::Consume;
        return a;
    }
    if (key == QLatin1Char('-')) {
        a.kind = VrNumEditKeyAction::Replace;
        const int minus = c.text.indexOf(QLatin1Char('-'));
        if (minus >= 0) {
            // Remove the sign where it is, not blindly the first character (a pasted text may hold it
            // elsewhere).
            a.text = c.text;
            a.text.remove(minus, 1);
            a.caret = std::max(0, c.caret > minus ? c.caret - 1 : c.caret);
        } else {
            a.text = QLatin1Char('-') + c.text;
            a.caret = c.caret + 1;
        }
        return a;
    }
    if (key == c.separator && (c.decimals == 0 || c.text.contains(c.separator)))
        a.kind = VrNumEditKeyAction::Consume;
    return a;
}

VrNumEditInsertion vrNumEditFilterInsertion(const QString& incoming, const VrNumEditKeyContext& context,
                                            int selectionStart, int selectionLength) {
    VrNumEditKeyContext c = context;
    int selection = selectionStart >= 0 ? selectionLength : 0;
    for (const QChar key : incoming) {
        if (!key.isPrint())
            continue;
        const VrNumEditKeyAction action = vrNumEditFilterKey(key, c);
        switch (action.kind) {
        case VrNumEditKeyAction::Pass:
            if (selection > 0) {
                c.text.remove(selectionStart, selection);
                c.caret = selectionStart;
                selection = 0;
            }
            c.text.insert(c.caret, key);
            ++c.caret;
            break;
        case VrNumEditKeyAction::Replace:
            // The sign toggle sets the whole text, which drops the selection.
            c.text = action.text;
            c.caret = action.caret;
            selection = 0;
            break;
        case VrNumEditKeyAction::Consume:
            break;
        }
    }
    return {c.text, c.caret};
}
