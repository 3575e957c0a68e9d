#include "TVrCustomEdit.h"

#include "VrSelectionClipboard.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

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

void TVrCustomEdit::InsertText(const QString& Text) {
    insert(Text);
}

QMenu* TVrCustomEdit::ContextMenu() {
    QMenu* menu = createStandardContextMenu();
    // The toolkit's Paste would insert the clipboard as it is. Its action is found by the toolkit's
    // own (translated) caption, the shortcut text after it.
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(paste))
            continue;
        action->disconnect(this);
        connect(action, &QAction::triggered, this, [this] {
            if (!isReadOnly())
                InsertText(QGuiApplication::clipboard()->text());
        });
    }
    return menu;
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
        // The toolkit would paste the clipboard as it is.
        if (event->matches(QKeySequence::Paste)) {
            if (!isReadOnly())
                InsertText(QGuiApplication::clipboard()->text());
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
    if (event->button() == Qt::MiddleButton) {
        // The press put the caret under the pointer; the toolkit would paste the selection there as
        // it is.
        const QString selection = VrSelectionText();
        if (!selection.isEmpty() && !isReadOnly()) {
            deselect();
            InsertText(selection);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit OnClick(this);
}

void TVrCustomEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = ContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TVrCustomEdit::dropEvent(QDropEvent* event) {
    const QString text = event->mimeData()->text();
    if (text.isNull() || isReadOnly()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The toolkit's drop would insert the text as it is; its drag-leave hides the drop caret.
    QDragLeaveEvent leave;
    QLineEdit::dragLeaveEvent(&leave);
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    InsertText(text);
}

void TVrCustomEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The composition (and any text the method replaces) as the toolkit handles it, the committed
    // text on the road of a paste; the toolkit would also commit into a read-only box.
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    composing.setCommitString(QString(), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&composing);
    if (!isReadOnly())
        InsertText(event->commitString());
    event->accept();
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
