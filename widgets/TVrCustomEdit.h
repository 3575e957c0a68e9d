#pragma once

#include "TAlignment.h"
#include "TColor.h"

#include <QLineEdit>

// A one-line edit in the widget family's colours (lime on black) with the family's events.
// Typed characters go through KeyPress, which a subclass overrides to filter them. Focus moves
// caused by the window losing or regaining activation are not entries or exits of the box.
// User-interface thread only.
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
    // The box was entered or left (by Tab, a click, a program call; not by window activation).
    virtual void FocusEntered(Qt::FocusReason Reason);
    virtual void FocusLeft(Qt::FocusReason Reason);

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
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
