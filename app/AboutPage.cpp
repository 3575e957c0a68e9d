#include "app/AboutPage.h"

#include "app/AboutLogoData.h"
#include "app/JpegImage.h"
#include "app/LayoutHelpers.h"
#include "app/StartOptions.h"
#include "app/TerminalConnection.h"

#include "widgets/TVrWebLabel.h"

#include <QLabel>
#include <QPixmap>

// Short enough for the page's 113-pixel links in their 16-pixel bold face.
const char* const AboutPage::kWebSite = "https://tkm.test/";
const char* const AboutPage::kWebSiteShort = "tkm.test";
const char* const AboutPage::kMailAddress = "ts@tkm.test";
const char* const AboutPage::kSupportPage = "https://tkm.test/tkm9214/support/";

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
    reachableByTab(label);
}

} // namespace

AboutPage::AboutPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("About"), connection, parent) {
    QFont title = font();
    title.setPixelSize(16);
    title.setBold(true);
    Label22 = place<QLabel>(this, "Label22", 16, 24, 140, 20);
    Label22->setText(QStringLiteral("TKM-9214 Utility "));
    Label22->setFont(title);
    Label23 = place<QLabel>(this, "Label23", 16, 48, 140, 20);
    Label23->setText(QStringLiteral("Ver.") + StartOptions::version());
    Label23->setFont(title);

    VrWebLabel1 = place<TVrWebLabel>(this, "VrWebLabel1", 16, 88, 113, 25);
    styleWebLabel(VrWebLabel1, QString::fromLatin1(kWebSiteShort), QString::fromLatin1(kWebSite));
    VrWebLabel2 = place<TVrWebLabel>(this, "VrWebLabel2", 16, 128, 113, 25);
    styleWebLabel(VrWebLabel2, QString::fromLatin1(kMailAddress),
                  QStringLiteral("mailto:") + QString::fromLatin1(kMailAddress));
    VrWebLabel3 = place<TVrWebLabel>(this, "VrWebLabel3", 16, 168, 145, 25);
    styleWebLabel(VrWebLabel3, QStringLiteral("Technical Support"), QString::fromLatin1(kSupportPage));

    Image1 = place<QLabel>(this, "Image1", 160, 16, 300, 140);
}

// The picture is decoded when the page is first shown: most sessions never open it, and the window
// starts sooner and smaller without it.
void AboutPage::showEvent(QShowEvent* event) {
    TerminalPage::showEvent(event);
    if (logoTried_)
        return;
    logoTried_ = true;
    const JpegImage::Result logo = JpegImage::decode(kAboutLogoJpeg, kAboutLogoJpegSize);
    // A picture that does not decode leaves the frame empty; the page works without it.
    if (!logo.image.isNull())
        Image1->setPixmap(QPixmap::fromImage(logo.image));
}

QList<QWidget*> AboutPage::TabOrder() const {
    return {VrWebLabel1, VrWebLabel2, VrWebLabel3};
}

void AboutPage::Enter() {
    const tkm::terminal::DeviceData& device = connection().device();
    WriteRow(0, "Device   :" + device.deviceName);
    WriteRow(1, "Firmware :" + device.firmware);
    WriteRow(2, "Web site");
    WriteRow(3, kWebSiteShort);
}
