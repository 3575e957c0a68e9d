#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(columns < 1 ? 1 : columns) {
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(QStringLiteral("Item%1").arg(i));
        group_->addButton(button, i);
        buttons_.append(button);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) { setItemIndex(id); });
    layoutItems();
}

void RadioGroup::setItemIndex(int index) {
    if (index < -1 || index >= count() || index == itemIndex_)
        return;
    itemIndex_ = index;
    if (index >= 0)
        buttons_[index]->setChecked(true);
    emit changed();
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    layoutItems();
}

void RadioGroup::layoutItems() {
    if (buttons_.isEmpty())
        return;
    const int rows = (count() + columns_ - 1) / columns_;
    const int left = 8, top = 16;
    const int cellWidth = (width() - 2 * left) / columns_;
    const int cellHeight = rows > 0 ? (height() - top - 4) / rows : 0;
    for (int i = 0; i < count(); ++i) {
        const int column = i / rows, row = i % rows;
        buttons_[i]->setGeometry(left + column * cellWidth, top + row * cellHeight, cellWidth, cellHeight);
    }
}
