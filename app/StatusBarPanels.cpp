#include "StatusBarPanels.h"

#include <QLabel>

StatusBarPanels::StatusBarPanels(const QList<PanelSpec>& panels, QWidget* parent) : QFrame(parent) {
    int x = 0;
    for (const PanelSpec& spec : panels) {
        auto* label = new QLabel(spec.text, this);
        label->setObjectName(QStringLiteral("StBarPanel%1").arg(labels_.size()));
        label->setAlignment(spec.alignment | Qt::AlignVCenter);
        if (spec.bevel) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setIndent(2);
        } else {
            label->setIndent(3);
        }
        label->setGeometry(x, 2, spec.width - 2, 17);
        x += spec.width;
        labels_.append(label);
    }
}

QString StatusBarPanels::panelText(int index) const {
    const QLabel* label = labels_.value(index);
    return label ? label->text() : QString();
}

void StatusBarPanels::setPanelText(int index, const QString& text) {
    QLabel* label = labels_.value(index);
    if (label && label->text() != text)
        label->setText(text);
}
