#include "VrStateTexts.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kProperty = "vrStateTexts";

} // namespace

void VrStateTexts::Set(QWidget* Widget, const QStringList& Texts) {
    Widget->setProperty(kProperty, Texts);
}

QString VrStateTexts::Text(const QWidget* Widget, int State) {
    return Widget->property(kProperty).toStringList().value(State);
}
