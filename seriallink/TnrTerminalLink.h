#pragma once
// What the component needs from a terminal edit control, so the core stays free of widgets:
// typed characters come in through the key handler, received text goes out at the caret.
// TnrEditTerminal adapts a Qt edit control. Owner's thread only.
#include <QByteArray>
#include <QObject>
#include <functional>

class TnrTerminalLink : public QObject {
    Q_OBJECT
public:
    // Returns true when the typed character shall not reach the edit.
    using KeyHandler = std::function<bool(char c)>;

    explicit TnrTerminalLink(QObject* parent = nullptr) : QObject(parent) {}

    virtual void SetKeyHandler(KeyHandler handler) = 0;
    // Shows a character as if it had been typed.
    virtual void TypeChar(char c) = 0;
    // Inserts text at the caret, replacing a selection.
    virtual void InsertText(const QByteArray& text) = 0;
};
