#include "GallerySections.h"
#include "TVrWebLabel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QWidget>

namespace {

// Shows the look under the pointer for good: the sample takes no mouse input after that, or the
// pointer leaving it would end the look.
void Hover(QWidget* w) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &enter);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// The About page's look: 16-pixel Arial, navy on button face, yellow on navy under the pointer.
TVrWebLabel* AboutLink(int width, const QString& caption, bool hover) {
    auto* l = new TVrWebLabel;
    l->resize(width, 25);
    // The About page's font: Arial, or a face with Arial's widths where Arial is not installed.
    QFont font;
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setPixelSize(16);
    font.setBold(true);
    font.setUnderline(true);
    l->SetFontLeave(font);
    l->SetFontEnter(font);
    l->SetFontLeaveColor(clNavy);
    l->SetFontEnterColor(clYellow);
    l->SetColorLeave(clBtnFace);
    l->SetColorEnter(clNavy);
    l->TextOutline()->SetVisible(false);
    l->SetAlignment(taLeftJustify);
    l->SetCaption(caption);
    if (hover)
        Hover(l);
    return l;
}

TVrWebLabel* DefaultLink(const QString& caption, int outline, bool hover) {
    auto* l = new TVrWebLabel;
    l->SetCaption(caption);
    l->TextOutline()->SetWidth(outline);
    if (hover)
        Hover(l);
    return l;
}

} // namespace

QWidget* WebLabelSection() {
    auto* section = new QWidget;
    auto* grid = new QGridLayout(section);
    grid->addWidget(Labelled(AboutLink(113, "example.com", false), "About page"), 0, 0);
    grid->addWidget(Labelled(AboutLink(113, "example.com", true), "About page, hover"), 0, 1);
    grid->addWidget(Labelled(AboutLink(145, "Technical Support", false), "support link"), 0, 2);
    grid->addWidget(Labelled(DefaultLink("Web label", 1, false), "defaults"), 1, 0);
    grid->addWidget(Labelled(DefaultLink("Web label", 1, true), "defaults, hover"), 1, 1);
    grid->addWidget(Labelled(DefaultLink("Outline", 2, false), "outline width 2"), 1, 2);
    auto* wrapped = DefaultLink("Two words wrapped", 1, false);
    // Two lines of whatever font stands in for Arial, and the outline above and below them.
    const int outline = wrapped->TextOutline()->Width();
    wrapped->resize(135, 2 * QFontMetrics(wrapped->FontLeave()).lineSpacing() + 2 * outline + 2);
    grid->addWidget(Labelled(wrapped, "word wrap"), 1, 3);
    return section;
}
