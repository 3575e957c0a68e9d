#include "VrSelectionClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {
VrSelectionSource& sourceSlot() {
    static VrSelectionSource source;
    return source;
}
} // namespace

QString VrSelectionText() {
    if (const VrSelectionSource& source = sourceSlot())
        return source();
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : QString();
}

VrSelectionSource VrSetSelectionSource(VrSelectionSource source) {
    VrSelectionSource previous = std::move(sourceSlot());
    sourceSlot() = std::move(source);
    return previous;
}
