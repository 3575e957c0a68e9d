#pragma once

#include "TAlignment.h"
#include "TColor.h"

#include <QLineEdit>

class QMenu;

// A one-line edit in the widget family's colours (lime on black) with the family's events.
// Typed characters go through KeyPress, and text arriving by any other road the user has (paste by
// key or by the context menu, a middle click pasting the selection, a drop, an input method's commit)
// through InsertText, so a subclass that filters both sees everything the user can put in; SetText
// from the program is taken as it is. Focus moves caused by the window losing or regaining activation
// are not entries or exits of the box. User-interface thread only.
class TVrCustomEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TVrCustomEdit(QWidget* parent = nullptr);

    TColor Color() const { return m_color; }
    void SetColor(TColor Value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor Value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment Value);
    // Select the whole text when the box is entered other than by a mouse press.
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool Value) { m_autoSelect = Value; }

    QString Text() const { return text(); }
    void SetText(const QString& Value) { setText(Value); }

    // The standard edit menu, its Paste taking the road of every paste (InsertText). The caller owns it.
    QMenu* ContextMenu();

signals:
    // Every change of the text, typed or set by the program.
    void OnChange(QObject* Sender);
    void OnClick(QObject* Sender);
    void OnEnter(QObject* Sender);
    void OnExit(QObject* Sender);
    void OnKeyDown(QObject* Sender, int Key, Qt::KeyboardModifiers Shift);
    void OnKeyUp(QObject* Sender, int Key, Qt::KeyboardModifiers Shift);
    void OnKeyPress(QObject* Sender, QChar Key);
    void OnMouseEnter(QObject* Sender);
    void OnMouseLeave(QObject* Sender);

protected:
    // A typed character; false consumes it (nothing is inserted and OnKeyPress does not fire).
    virtual bool KeyPress(QChar Key);
    // Text the user brings in other than by typing, to go in at the caret in place of the selection
    // (the base inserts it as it is). Not called on a read-only box.
    virtual void InsertText(const QString& Text);
    // The box was entered or left (by Tab, a click, a program call; not by window activation).
    virtual void FocusEntered(Qt::FocusReason Reason);
    virtual void FocusLeft(Qt::FocusReason Reason);

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplyColors();

    TColor m_color = clBlack;
    TColor m_fontColor = clLime;
    TAlignment m_alignment = taLeftJustify;
    bool m_autoSelect = true;
};
