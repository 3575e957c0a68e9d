#pragma once
// Links a Qt edit control (QLineEdit, QPlainTextEdit or QTextEdit) to a port component as its
// terminal: typed characters go to the line, received text appears at the caret. It lives as a
// child of the edit, so it goes when the edit goes. GUI thread only.
#include "TnrTerminalLink.h"

class QWidget;

class TnrEditTerminal : public TnrTerminalLink {
    Q_OBJECT
public:
    explicit TnrEditTerminal(QWidget* edit);

    void SetKeyHandler(KeyHandler handler) override { FKeyHandler = std::move(handler); }
    void TypeChar(char c) override;
    void InsertText(const QByteArray& text) override;
    QWidget* Edit() const { return FEdit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* FEdit;
    KeyHandler FKeyHandler;
};
