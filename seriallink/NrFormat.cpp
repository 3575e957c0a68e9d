#include "NrFormat.h"

QString NrFormat(const QString& format, const QVariantList& args) {
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != u'%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        qsizetype j = i + 1;
        if (format.at(j) == u'%') {
            out += u'%';
            i = j;
            continue;
        }
        bool left = false;
        if (format.at(j) == u'-') {
            left = true;
            ++j;
        }
        int width = 0;
        while (j < format.size() && format.at(j).isDigit())
            width = width * 10 + format.at(j++).digitValue();
        if (j >= format.size()) {
            out += format.mid(i);
            break;
        }
        const QChar conv = format.at(j);
        const QVariant arg = next < args.size() ? args.at(next) : QVariant();
        QString text;
        switch (conv.unicode()) {
        case 's':
            text = arg.toString();
            break;
        case 'd':
            text = QString::number(arg.toLongLong());
            break;
        case 'u':
            text = QString::number(arg.toULongLong());
            break;
        case 'x':
            text = QString::number(arg.toULongLong(), 16);
            break;
        case 'X':
            text = QString::number(arg.toULongLong(), 16).toUpper();
            break;
        default:
            out += format.mid(i, j - i + 1);
            i = j;
            continue;
        }
        ++next;
        out += left ? text.leftJustified(width) : text.rightJustified(width);
        i = j;
    }
    return out;
}
