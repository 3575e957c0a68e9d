#include "app/UserSymbolsPage.h"

#include "app/AppDialogs.h"
#include "app/HandlerGuard.h"
#include "app/LayoutHelpers.h"
#include "app/RadioGroup.h"
#include "app/TerminalConnection.h"
#include "files/IniFile.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"

#include "widgets/TVrRaster.h"
#include "widgets/TVrRasterLed.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

#include <algorithm>
#include <stdexcept>

namespace proto = tkm::protocol;

namespace {

const std::string kEmptySymbol(SymbolFile::kEmptyCode);

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
        raster->setAccessibleName(QStringLiteral("Symbol %1").arg(i));
    }
    auto* editor = place<TVrRaster>(this, "US8", 296, 8, 129, 204);
    styleRaster(editor, 1);
    // The arrows move over the dots, Space inverts one.
    reachableByTab(editor);
    editor->setAccessibleName(QStringLiteral("Symbol editor"));
    onSpace(editor, this, [this] { US8SpaceKey(); });

    QStringList items;
    for (int i = 0; i < kSymbols; ++i)
        items << QString::number(i);
    SUS = new RadioGroup(QStringLiteral("Symbol"), items, 4, this);
    SUS->setObjectName(QStringLiteral("SUS"));
    SUS->setGeometry(8, 74, 260, 62);
    SUS->setItemIndex(0);

    USCode = place<QLineEdit>(this, "USCode", 8, 144, 260, 21);
    USCode->setReadOnly(true);
    USCode->setAccessibleName(QStringLiteral("Symbol code"));
    USCode->setText(QString::fromLatin1(codes_[0].c_str()));

    InvUS = button(this, "InvUS", QStringLiteral("Inv"), 432, 8, 52);
    ClearUS = button(this, "ClearUS", QStringLiteral("Clear"), 432, 38, 52);
    SaveSym = button(this, "SaveSym", QStringLiteral("Save symbol"), 8, 176, 126);
    SaveAllSym = button(this, "SaveAllSym", QStringLiteral("Save all symbol"), 142, 176, 126);
    Button5 = button(this, "Button5", QStringLiteral("Read in file"), 8, 208, 126);
    Button6 = button(this, "Button6", QStringLiteral("Save to file"), 142, 208, 126);
    connectHandlers();
}

void UserSymbolsPage::connectHandlers() {
    for (int k = 0; k < kSymbols; ++k) {
        connect(raster(k), &TVrRaster::OnMouseDown, this,
                [this, k](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                    HandlerGuard::run([this, k] { USMouseDown(k); });
                });
    }
    connect(raster(kSymbols), &TVrRaster::OnMouseDown, this,
            [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                HandlerGuard::run([this, x, y] { US8MouseDown(x, y); });
            });
    connect(SUS, &RadioGroup::changed, this, HandlerGuard::slot([this] { SUSClick(); }));
    connect(InvUS, &QPushButton::clicked, this, HandlerGuard::slot([this] { InvUSClick(); }));
    connect(ClearUS, &QPushButton::clicked, this, HandlerGuard::slot([this] { ClearUSClick(); }));
    connect(SaveSym, &QPushButton::clicked, this, HandlerGuard::slot([this] { SaveSymClick(); }));
    connect(SaveAllSym, &QPushButton::clicked, this, HandlerGuard::slot([this] { SaveAllSymClick(); }));
    connect(Button5, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button5Click(); }));
    connect(Button6, &QPushButton::clicked, this, HandlerGuard::slot([this] { Button6Click(); }));
}

void UserSymbolsPage::setFileDialogs(FileDialog* openDialog, FileDialog* saveDialog) {
    files_.emplace(openDialog, saveDialog);
}

QList<QWidget*> UserSymbolsPage::TabOrder() const {
    QList<QWidget*> order;
    for (int i = 0; i < SUS->count(); ++i)
        order << SUS->item(i);
    order << USCode << raster(kSymbols) << InvUS << ClearUS << SaveSym << SaveAllSym << Button5 << Button6;
    return order;
}

TVrRaster* UserSymbolsPage::raster(int n) const {
    return findChild<TVrRaster*>(QStringLiteral("US%1").arg(n));
}

void UserSymbolsPage::Enter() {
    for (int n = 0; n <= kSymbols; ++n)
        RedrawSymbol(n);
    WriteRow(1, "0 1 2 3 4 5 6 7");
    WriteRow(2, "");
    // The terminal's own codes of the eight user symbols, sent as they are (no code-page conversion).
    const unsigned char first = connection().device().configuration.codePageCode == proto::kCodePageKoi8r ? 0xB8 : 0xB0;
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
    if (TVrRaster* shown = raster(n)) {
        for (int i = 0; i < static_cast<int>(dots.size()); ++i)
            shown->Items(i)->SetActive(dots[static_cast<std::size_t>(i)]);
    }
    const std::string& selected = codes_[static_cast<std::size_t>(selectedSymbol())];
    USCode->setText(QString::fromLatin1(selected.data(), static_cast<qsizetype>(selected.size())));
}

std::string UserSymbolsPage::CodeFromEditor() {
    const TVrRaster* editor = raster(kSymbols);
    proto::SymbolDots dots{};
    for (int i = 0; i < static_cast<int>(dots.size()); ++i)
        dots[static_cast<std::size_t>(i)] = editor->Items(i)->Active();
    const std::string code = proto::SymbolCodeFromDots(dots);
    USCode->setText(QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size())));
    return code;
}

void UserSymbolsPage::StoreEditedSymbol() {
    const int n = selectedSymbol();
    codes_[static_cast<std::size_t>(n)] = CodeFromEditor();
    RedrawSymbol(n);
}

void UserSymbolsPage::USMouseDown(int k) {
    // Selecting redraws through SUSClick when the selection changes; the raster's dots stay as they are.
    SUS->setItemIndex(k);
    RedrawSymbol(k);
}

void UserSymbolsPage::US8MouseDown(int x, int y) {
    // The dots stand on a 25-pixel pitch inside the editor's 2-pixel border.
    if (x < 3 || x > 126 || y < 3 || y > 201)
        return;
    const int column = (x - 2) / 25;
    const int row = (y - 2) / 25;
    InvertEditorDot(row * proto::kSymbolColumns + column);
}

void UserSymbolsPage::US8SpaceKey() {
    InvertEditorDot(raster(kSymbols)->KeyCell());
}

void UserSymbolsPage::InvertEditorDot(int index) {
    TVrRasterLed* dot = raster(kSymbols)->Items(index);
    dot->SetActive(!dot->Active());
    StoreEditedSymbol();
}

void UserSymbolsPage::SUSClick() {
    RedrawSymbol(selectedSymbol());
    RedrawSymbol(kSymbols);
}

void UserSymbolsPage::InvUSClick() {
    const TVrRaster* editor = raster(kSymbols);
    for (int i = 0; i < editor->Count(); ++i)
        editor->Items(i)->SetActive(!editor->Items(i)->Active());
    StoreEditedSymbol();
}

void UserSymbolsPage::ClearUSClick() {
    const int n = selectedSymbol();
    codes_[static_cast<std::size_t>(n)] = kEmptySymbol;
    RedrawSymbol(kSymbols);
    RedrawSymbol(n);
}

void UserSymbolsPage::SendSymbol(int n) {
    const std::string& code = codes_[static_cast<std::size_t>(n)];
    if (TerminalConnection::IsError(
            connection().Transact(proto::WriteSymbol(connection().address(), n, code)))) {
        AppDialogs::message(AppDialogs::Icon::Error, AppDialogs::Buttons::Ok,
                            QStringLiteral("Symbol not saved"));
        connection().lose();
    }
}

void UserSymbolsPage::SaveSymClick() {
    if (connection().found())
        SendSymbol(selectedSymbol());
}

void UserSymbolsPage::SaveAllSymClick() {
    // The flag is looked at once: a symbol that fails clears it, and the others are still sent. A
    // second click while the symbols go out adds nothing: each is sent as the table holds it when its
    // turn comes, to the address then chosen.
    if (savingAll_ || !connection().found())
        return;
    const QScopedValueRollback<bool> running(savingAll_, true);
    for (int n = 0; n < kSymbols; ++n) {
        // Clicks held through the last symbol run now. A port closed meanwhile ends the save: a box
        // per remaining symbol would tell nothing new.
        if (n > 0 && (!connection().betweenExchanges() || !connection().portOpen()))
            return;
        SendSymbol(n);
    }
}

std::string UserSymbolsPage::CheckedFileCode(int n, const std::string& value) {
    const SymbolFile::Checked checked = SymbolFile::check(n, value);
    if (!checked.objection.isEmpty())
        AppDialogs::message(AppDialogs::Icon::Error, AppDialogs::Buttons::Ok, checked.objection);
    return checked.code;
}

void UserSymbolsPage::Button5Click() {
    if (!files_)
        return;
    const std::optional<IniFile> file = files_->read();
    if (!file)
        return;
    for (int n = 0; n < kSymbols; ++n) {
        codes_[static_cast<std::size_t>(n)] = CheckedFileCode(n, SymbolFile::code(*file, n));
        RedrawSymbol(n);
    }
    RedrawSymbol(kSymbols);
}

void UserSymbolsPage::Button6Click() {
    if (!files_)
        return;
    files_->save(QStringLiteral("the user symbols"), [this](IniFile& file) {
        for (int n = 0; n < kSymbols; ++n)
            SymbolFile::setCode(file, n, codes_[static_cast<std::size_t>(n)]);
    });
}
