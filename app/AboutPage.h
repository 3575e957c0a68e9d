#pragma once

#include "app/TerminalPage.h"

class QLabel;
class TVrWebLabel;

// The About page: the program's name and version, the maker's logo and three links. Entering it shows
// the terminal's name and firmware and the maker's web address on the terminal's display.
class AboutPage : public TerminalPage {
    Q_OBJECT
public:
    // The maker's addresses shown on the page and on the About test screen.
    static const char* const kWebSite;
    static const char* const kWebSiteShort;
    static const char* const kMailAddress;
    static const char* const kSupportPage;

    explicit AboutPage(TerminalConnection& connection, QWidget* parent = nullptr);

    void Enter() override;
    QList<QWidget*> TabOrder() const override;

    // Components (objectName = the member's name)
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
    TVrWebLabel* VrWebLabel1 = nullptr;
    TVrWebLabel* VrWebLabel2 = nullptr;
    TVrWebLabel* VrWebLabel3 = nullptr;
    QLabel* Image1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool logoTried_ = false;
};
