#include "app/UserSymbolsPage.h"

#include "app/LayoutHelpers.h"
#include "app/RadioGroup.h"
#include "app/TerminalConnection.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"

#include "widgets/TVrRaster.h"
#include "widgets/TVrRasterLed.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <stdexcept>

namespace proto = tkm::protocol;

namespace {

const std::string kEmptySymbol(16, '0');

void styleRaster(TVrRaster* raster, int spacing) {
    raster->SetColumns(proto::kSymbolColumns);
    raster->SetRows(proto::kSymbolRows);
    raster->SetSpacing(spacing);
    raster->Palette()->SetLow(RGB(0, 55, 28));
    raster->Palette()->SetHigh(clLime);
}

} // namespace

UserSymbolsPage::UserSymbolsPage(TerminalConnection& connection, QWidget* parent)
    : TerminalPage(QStringLiteral("UserSymbols"), connection, parent) {
    codes_.fill(kEmptySymbol);
    for (int i = 0; i < kSymbols; ++i) {
        const int x = 8 + i * 32;
        auto* caption = label(this, QStringLiteral("LabelUS%1").arg(i), QString::number(i), x, 6, 27);
        caption->setAlignment(Qt::AlignCenter);
        auto* raster = place<TVrRaster>(this, QStringLiteral("US%1").arg(i), x, 24, 27, 42);
        styleRaster(raster, 0);
    }
    auto* editor = place<TVrRaster>(this, "US8", 296, 8, 129, 204);
    styleRaster(editor, 1);

    QStringList items;
    for (int i = 0; i < kSymbols; ++i)
        items << QString::number(i);
    SUS = new RadioGroup(QStringLiteral("Symbol"), items, 4, this);
    SUS->setObjectName(QStringLiteral("SUS"));
    SUS->setGeometry(8, 74, 260, 62);
    SUS->setItemIndex(0);

    USCode = place<QLineEdit>(this, "USCode", 8, 144, 260, 21);
    USCode->setReadOnly(true);
    USCode->setText(QString::fromLatin1(codes_[0].c_str()));

    InvUS = button(this, "InvUS", QStringLiteral("Inv"), 432, 8, 52);
    ClearUS = button(this, "ClearUS", QStringLiteral("Clear"), 432, 38, 52);
    SaveSym = button(this, "SaveSym", QStringLiteral("Save symbol"), 8, 176, 126);
    SaveAllSym = button(this, "SaveAllSym", QStringLiteral("Save all symbol"), 142, 176, 126);
    Button5 = button(this, "Button5", QStringLiteral("Read in file"), 8, 208, 126);
    Button6 = button(this, "Button6", QStringLiteral("Save to file"), 142, 208, 126);
}

void UserSymbolsPage::Enter() {
    for (int n = 0; n <= kSymbols; ++n)
        RedrawSymbol(n);
    WriteRow(1, "0 1 2 3 4 5 6 7");
    WriteRow(2, "");
    // The terminal's own codes of the eight user symbols, sent as they are (no code-page conversion).
    const unsigned char first = connection().device().cfgCodePage == proto::kCodePageKoi8r ? 0xB8 : 0xB0;
    std::string symbols;
    for (int i = 0; i < kSymbols; ++i) {
        symbols += static_cast<char>(first + i);
        symbols += ' ';
    }
    symbols += ' ';
    connection().Transact(proto::WriteText(connection().address(), symbols));
    WriteRow(0, "USER SYMBOLS");
}

int UserSymbolsPage::selectedSymbol() const {
    return std::max(SUS->itemIndex(), 0);
}

const std::string& UserSymbolsPage::symbolCode(int n) const {
    return codes_.at(static_cast<std::size_t>(n));
}

void UserSymbolsPage::setSymbolCode(int n, const std::string& code) {
    codes_.at(static_cast<std::size_t>(n)) = code;
}

void UserSymbolsPage::RedrawSymbol(int n) {
    if (n < 0 || n > kSymbols)
        return;
    const std::string& code = codes_[static_cast<std::size_t>(n == kSymbols ? selectedSymbol() : n)];
    const proto::SymbolDots dots = proto::DotsFromSymbolCode(code);
    if (auto* raster = findChild<TVrRaster*>(QStringLiteral("US%1").arg(n))) {
        for (int i = 0; i < static_cast<int>(dots.size()); ++i)
            raster->Items(i)->SetActive(dots[static_cast<std::size_t>(i)]);
    }
    const std::string& selected = codes_[static_cast<std::size_t>(selectedSymbol())];
    USCode->setText(QString::fromLatin1(selected.data(), static_cast<qsizetype>(selected.size())));
}
