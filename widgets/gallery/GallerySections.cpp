#include "GallerySections.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

const std::vector<GallerySection>& AllSections() {
    static const std::vector<GallerySection> sections = {
        {"TVrUserLed", &LedSection},
        {"TVrTrackBar", &TrackBarSection},
        {"TVrPowerButton", &PowerButtonSection},
        {"TVrRaster", &RasterSection},
        {"TVrSwitch", &SwitchSection},
        {"TVrNumEdit", &NumEditSection},
        {"TVrWebLabel", &WebLabelSection},
    };
    return sections;
}

QWidget* Labelled(QWidget* widget, const QString& label) {
    auto* cell = new QWidget;
    auto* layout = new QVBoxLayout(cell);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    widget->setFixedSize(widget->size());
    layout->addWidget(widget, 0, Qt::AlignHCenter);
    auto* text = new QLabel(label);
    text->setAlignment(Qt::AlignHCenter);
    layout->addWidget(text);
    layout->addStretch();
    return cell;
}
