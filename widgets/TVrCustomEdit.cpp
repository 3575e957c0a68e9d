#include "TVrCustomEdit.h"

#include <QKeyEvent>

namespace {

// Focus changes that only follow the window's activation (another window, a menu or a message box
// came up) are not the user leaving or entering the box.
bool ActivationOnly(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

// The key events the original edit received as typed characters: printable text, backspace,
// Enter and Escape. Shortcuts with Ctrl or Alt are commands, not characters.
bool TypedCharacter(const QKeyEvent* event, QChar* ch) {
    switch (event->key()) {
    case Qt::Key_Backspace:
        *ch = QChar(8);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        *ch = QChar(13);
        return true;
    case Qt::Key_Escape:
        *ch = QChar(27);
        return true;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    *ch = text.at(0);
    return true;
}

} // namespace

TVrCustomEdit::TVrCustomEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Text reaches the box by typing only; dropped text would bypass the key filter.
    setAcceptDrops(false);
    ApplyColors();
    connect(this, &QLineEdit::textChanged, this, [this] { emit OnChange(this); });
}

void TVrCustomEdit::SetColor(TColor Value) {
    if (Value == m_color)
        return;
    m_color = Value;
    ApplyColors();
}

void TVrCustomEdit::SetFontColor(TColor Value) {
    if (Value == m_fontColor)
        return;
    m_fontColor = Value;
    ApplyColors();
}

void TVrCustomEdit::SetAlignment(TAlignment Value) {
    if (Value == m_alignment)
        return;
    m_alignment = Value;
    setAlignment(ToQtAlignment(Value) | Qt::AlignVCenter);
}

void TVrCustomEdit::ApplyColors() {
    QPalette p = palette();
    const QColor base = ColorToQColor(m_color);
    const QColor text = ColorToQColor(m_fontColor);
    // A disabled box keeps its background; only the text greys out.
    p.setColor(QPalette::Base, base);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::Text, text);
    setPalette(p);
}

bool TVrCustomEdit::KeyPress(QChar) {
    return true;
}

void TVrCustomEdit::FocusEntered(Qt::FocusReason Reason) {
    if (m_autoSelect && Reason != Qt::MouseFocusReason)
        selectAll();
    else if (!m_autoSelect)
        deselect();
}

void TVrCustomEdit::FocusLeft(Qt::FocusReason) {}

void TVrCustomEdit::keyPressEvent(QKeyEvent* event) {
    emit OnKeyDown(this, event->key(), event->modifiers());
    QChar ch;
    if (!TypedCharacter(event, &ch)) {
        // Pasting would bring in text the key filter never saw.
        if (event->matches(QKeySequence::Paste)) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!KeyPress(ch)) {
        // A dropped Enter or Escape still reaches the window (default and cancel buttons).
        if (ch == QChar(13) || ch == QChar(27))
            event->ignore();
        else
            event->accept();
        return;
    }
    emit OnKeyPress(this, ch);
    QLineEdit::keyPressEvent(event);
}

void TVrCustomEdit::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat())
        emit OnKeyUp(this, event->key(), event->modifiers());
    QLineEdit::keyReleaseEvent(event);
}

void TVrCustomEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (ActivationOnly(event->reason()))
        return;
    FocusEntered(event->reason());
    emit OnEnter(this);
}

void TVrCustomEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (ActivationOnly(event->reason()))
        return;
    FocusLeft(event->reason());
    emit OnExit(this);
}

void TVrCustomEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit OnClick(this);
}

void TVrCustomEdit::enterEvent(QEnterEvent* event) {
    QLineEdit::enterEvent(event);
    emit OnMouseEnter(this);
}

void TVrCustomEdit::leaveEvent(QEvent* event) {
    QLineEdit::leaveEvent(event);
    emit OnMouseLeave(this);
}

void TVrCustomEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    // System colours resolve through the application palette.
    if (event->type() == QEvent::ApplicationPaletteChange)
        ApplyColors();
}
