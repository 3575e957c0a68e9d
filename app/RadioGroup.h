#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A group box of radio buttons addressed by item index, laid out in columns.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    int itemIndex() const { return itemIndex_; }
    // Changing the index by program raises changed() as a click does; the same index does nothing.
    void setItemIndex(int index);
    QRadioButton* item(int index) const { return buttons_.value(index); }
    int count() const { return static_cast<int>(buttons_.size()); }

signals:
    void changed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutItems();

    QList<QRadioButton*> buttons_;
    QButtonGroup* group_;
    int columns_;
    int itemIndex_ = -1;
};
