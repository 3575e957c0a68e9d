#include "StatusBarPanels.h"

#include <QLabel>

StatusBarPanels::StatusBarPanels(const QList<PanelLayout>& panels, QWidget* parent) : QFrame(parent) {
    int x = 0;
    for (const PanelLayout& panel : panels) {
        auto* label = new QLabel(panel.text, this);
        label->setObjectName(QStringLiteral("StBarPanel%1").arg(labels_.size()));
        label->setTextFormat(Qt::PlainText); // the panels show what the terminal sent, never markup
        label->setAlignment(panel.alignment | Qt::AlignVCenter);
        if (panel.bevel) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setIndent(2);
        } else {
            label->setIndent(3);
        }
        label->setGeometry(x, 2, panel.width - 2, 17);
        x += panel.width;
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
