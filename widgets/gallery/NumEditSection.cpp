#include "GallerySections.h"
#include "TVrNumEdit.h"

#include <QHBoxLayout>
#include <QWidget>

namespace {

TVrNumEdit* Edit(int width, const QString& text) {
    auto* e = new TVrNumEdit;
    e->resize(width, 21);
    e->setText(text);
    return e;
}

} // namespace

QWidget* NumEditSection() {
    auto* section = new QWidget;
    auto* row = new QHBoxLayout(section);
    row->addWidget(Labelled(Edit(41, "19"), "column (CX)"));
    row->addWidget(Labelled(Edit(41, "3"), "row (CY)"));
    auto* decimals = Edit(81, "");
    decimals->SetDecimals(2);
    decimals->SetValue(3.14159);
    row->addWidget(Labelled(decimals, "Decimals 2, Value 3.14159"));
    auto* right = Edit(81, "-123");
    right->SetAlignment(taRightJustify);
    row->addWidget(Labelled(right, "taRightJustify"));
    auto* centre = Edit(81, "42");
    centre->SetAlignment(taCenter);
    row->addWidget(Labelled(centre, "taCenter"));
    auto* disabled = Edit(81, "7");
    disabled->setEnabled(false);
    row->addWidget(Labelled(disabled, "disabled"));
    row->addStretch();
    return section;
}
