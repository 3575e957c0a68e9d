#pragma once

#include <QString>
#include <vector>

class QWidget;

// One section of the gallery: a titled group of widgets in their states, side by side.
// To add a widget, write one function that builds its section (in a file of its own) and list it
// in AllSections().
struct GallerySection {
    QString Title;
    QWidget* (*Build)();
};

const std::vector<GallerySection>& AllSections();

QWidget* LedSection();
QWidget* TrackBarSection();
QWidget* PowerButtonSection();
QWidget* RasterSection();
QWidget* SwitchSection();
QWidget* NumEditSection();
QWidget* WebLabelSection();

// A labelled cell: the widget above a caption naming its state.
QWidget* Labelled(QWidget* widget, const QString& label);
