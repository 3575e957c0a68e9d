#include "TnrEditTerminal.h"

#include "TnrBaseIO.h"
#include "TnrException.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

TnrEditTerminal::TnrEditTerminal(QWidget* edit) : TnrTerminalLink(edit), FEdit(edit) {
    edit->installEventFilter(this);
}

void TnrEditTerminal::TypeChar(char c) {
    InsertText(QByteArray(1, c));
}

void TnrEditTerminal::InsertText(const QByteArray& text) {
    const QString s = QString::fromLatin1(text);
    if (auto* line = qobject_cast<QLineEdit*>(FEdit))
        line->insert(s);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(FEdit))
        plain->insertPlainText(s);
    else if (auto* rich = qobject_cast<QTextEdit*>(FEdit))
        rich->insertPlainText(s);
}

bool TnrEditTerminal::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FEdit || event->type() != QEvent::KeyPress || !FKeyHandler)
        return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.size() != 1)
        return false;
    try {
        return FKeyHandler(text.at(0).toLatin1());
    } catch (const TnrException& e) {
        TnrBaseIO::PresentError(QStringLiteral("TnrException"), e.Message());
        return true;
    }
}
