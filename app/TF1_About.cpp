// The About page: program name and version, the maker's logo and three links.
#include "app/AboutLogoData.h"
#include "app/JpegImage.h"
#include "app/LayoutHelpers.h"
#include "app/TF1.h"

#include "widgets/TVrWebLabel.h"

#include <QLabel>
#include <QPixmap>

namespace {

void styleWebLabel(TVrWebLabel* label, const QString& caption, const QString& url) {
    label->SetCaption(caption);
    label->SetURL(url);
    QFont font;
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setPixelSize(16);
    font.setBold(true);
    font.setUnderline(true);
    label->SetFontLeave(font);
    label->SetFontLeaveColor(clNavy);
    label->SetFontEnter(font);
    label->SetFontEnterColor(clYellow);
    label->SetColorLeave(clBtnFace);
    label->SetColorEnter(clNavy);
    label->TextOutline()->SetVisible(false);
    label->SetAlignment(taLeftJustify);
}

} // namespace

void TF1::buildAboutPage() {
    QFont title = font();
    title.setPixelSize(16);
    title.setBold(true);
    Label22 = place<QLabel>(About, "Label22", 16, 24, 140, 20);
    Label22->setText(QStringLiteral("TKM-9214 Utility "));
    Label22->setFont(title);
    Label23 = place<QLabel>(About, "Label23", 16, 48, 140, 20);
    Label23->setText(QStringLiteral("Ver.1.1"));
    Label23->setFont(title);

    VrWebLabel1 = place<TVrWebLabel>(About, "VrWebLabel1", 16, 88, 113, 25);
    styleWebLabel(VrWebLabel1, QString::fromLatin1(kWebSiteShort), QString::fromLatin1(kWebSite));
    VrWebLabel2 = place<TVrWebLabel>(About, "VrWebLabel2", 16, 128, 140, 25);
    styleWebLabel(VrWebLabel2, QString::fromLatin1(kMailAddress),
                  QStringLiteral("mailto:") + QString::fromLatin1(kMailAddress));
    VrWebLabel3 = place<TVrWebLabel>(About, "VrWebLabel3", 16, 168, 145, 25);
    styleWebLabel(VrWebLabel3, QStringLiteral("Technical Support"), QString::fromLatin1(kSupportPage));

    Image1 = place<QLabel>(About, "Image1", 160, 16, 300, 140);
    const JpegImage::Result logo = JpegImage::decode(kAboutLogoJpeg, kAboutLogoJpegSize);
    // A picture that does not decode leaves the frame empty; the page works without it.
    if (!logo.image.isNull())
        Image1->setPixmap(QPixmap::fromImage(logo.image));
}
