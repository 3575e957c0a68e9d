#pragma once

#include <QFrame>
#include <QList>

class QLabel;

// The main window's status bar: a row of fixed-width text panels, some bevelled, some plain labels.
class StatusBarPanels : public QFrame {
    Q_OBJECT
public:
    struct PanelLayout {
        int width;
        bool bevel;
        Qt::Alignment alignment;
        QString text;
    };

    explicit StatusBarPanels(const QList<PanelLayout>& panels, QWidget* parent = nullptr);

    int panelCount() const { return static_cast<int>(labels_.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    QLabel* panel(int index) const { return labels_.value(index); }

private:
    QList<QLabel*> labels_;
};
