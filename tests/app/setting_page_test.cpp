// The Setting page's handlers and its settings file, with the terminal answered by a scripted port.
#include "PageFileFixture.h"
#include "tests/support/ScriptedTerminal.h"

#include "app/FileDialog.h"
#include "app/SettingPage.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "files/TkmSave.h"

#include "widgets/TVrTrackBar.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class SettingPageTest : public PageFileFixture {
protected:
    SettingPage* page() const { return window->Setting; }

    // BRNew, CodePage, CheckSum indexes and the AdrNew position.
    std::vector<int> values() const {
        return {page()->BRNew->currentIndex(), page()->CodePage->currentIndex(),
                page()->CheckSum->currentIndex(), page()->AdrNew->Position()};
    }
    void setValues(int baud, int codePage, int checksum, int address) {
        page()->BRNew->setCurrentIndex(baud);
        page()->CodePage->setCurrentIndex(codePage);
        page()->CheckSum->setCurrentIndex(checksum);
        page()->AdrNew->SetPosition(address);
    }

    void identifyAt(int address, ScriptedPort::Script terminal) {
        talkTo(std::move(terminal));
        window->Adr->SetPosition(address);
        ASSERT_TRUE(window->connection().found());
        port->sent.clear();
    }
};

// The stamp a save wrote, which must be the stamp of a moment during the save.
void expectStampBetween(const QByteArray& file, const QDateTime& before, const QDateTime& after) {
    const QByteArray key = "DateTime=";
    const qsizetype at = file.indexOf(key);
    ASSERT_GE(at, 0);
    const QByteArray stamp = file.mid(at + key.size(), file.indexOf("\r\n", at) - at - key.size());
    bool matched = false;
    for (QDateTime t = before.addSecs(-1); t <= after.addSecs(1) && !matched; t = t.addSecs(1))
        matched = stamp.toStdString() == TkmSave::modificationText(t);
    EXPECT_TRUE(matched) << stamp.toStdString();
}

} // namespace

TEST_F(SettingPageTest, NewAddressCaptionAndItsButtons) {
    page()->AdrNew->SetPosition(255);
    EXPECT_EQ(page()->GroupBox2->title(), QStringLiteral("NEW ADDRESS=0xFF / 255 "));
    page()->Button2->click();
    EXPECT_EQ(page()->AdrNew->Position(), 255);
    page()->Button1->click();
    EXPECT_EQ(page()->GroupBox2->title(), QStringLiteral("NEW ADDRESS=0xFE / 254 "));
    page()->AdrNew->SetPosition(1);
    page()->Button1->click();
    EXPECT_EQ(page()->AdrNew->Position(), 1);
    EXPECT_EQ(page()->GroupBox2->title(), QStringLiteral("NEW ADDRESS=0x01 / 1 "));
}

TEST_F(SettingPageTest, DefaultSettingSendsNothing) {
    talkTo(ScriptedTerminal{});
    setValues(0, 0, 0, 77);
    page()->Button3->click();
    EXPECT_EQ(values(), (std::vector<int>{5, 1, 1, 1}));
    EXPECT_EQ(page()->BRNew->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(page()->CodePage->currentText(), QStringLiteral("WIN-1251"));
    EXPECT_EQ(page()->CheckSum->currentText(), QStringLiteral("Disabled"));
    EXPECT_TRUE(port->sent.empty());
}

TEST_F(SettingPageTest, ReadSettingTakesTheCachedConfiguration) {
    setValues(0, 0, 1, 77);
    page()->ReadSetting->click(); // nothing identified yet: nothing happens
    EXPECT_EQ(values(), (std::vector<int>{0, 0, 1, 77}));

    struct Case {
        std::string configuration;
        std::vector<int> expected;
        bool conversionError;
    };
    const Case cases[] = {
        {"0A0Z0A0040", {9, 0, 0, 10}, false},
        {"010Z010200", {0, 2, 1, 1}, false},
        // Codes the lists do not hold leave those lists as they were.
        {"FE0Z0B0300", {0, 0, 1, 254}, false},
        {"0G0Z060100", {0, 0, 1, 77}, true},
    };
    for (const Case& c : cases) {
        setValues(0, 0, 1, 77);
        ScriptedTerminal terminal;
        terminal.configuration = c.configuration;
        exceptions.clear();
        window->Adr->SetPosition(0);
        talkTo(terminal);
        window->Adr->SetPosition(1);
        page()->ReadSetting->click();
        EXPECT_EQ(values(), c.expected) << c.configuration;
        EXPECT_EQ(exceptions.size(), c.conversionError ? 1 : 0) << c.configuration;
        if (c.conversionError && !exceptions.isEmpty()) {
            EXPECT_EQ(exceptions[0], QStringLiteral("'$0G' is not a valid integer value"));
        }
        EXPECT_EQ(port->sent.size(), 9u) << "identification only";
    }
}

TEST_F(SettingPageTest, SaveNeedsAnOpenPortAndAFoundTerminal) {
    page()->BRNew->setCurrentIndex(7); // would need the power cycle
    talkTo(ScriptedTerminal{});
    page()->SaveSettign->click();
    EXPECT_TRUE(port->sent.empty());
    identifyAt(1, ScriptedTerminal{});
    port->active = false;
    page()->SaveSettign->click();
    EXPECT_TRUE(port->sent.empty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingPageTest, ARefusedConfigurationIsNotSaved) {
    identifyAt(1, [terminal = ScriptedTerminal{}](const std::string& frame) {
        return frame.front() == '%' ? std::string() : terminal(frame);
    });
    page()->AdrNew->SetPosition(7);
    page()->SaveSettign->click();
    EXPECT_EQ(port->sent, std::vector<std::string>{"%01070Z060100"});
    EXPECT_EQ(messages, QStringList{QStringLiteral("Data is not saved")});
    EXPECT_EQ(window->Adr->Position(), 1);
    EXPECT_FALSE(window->connection().found());
}

TEST_F(SettingPageTest, ReadInFileCorrectsWhatTheListsCannotShow) {
    struct Case {
        QByteArray file;
        std::vector<int> expected;
    };
    const std::vector<int> defaults = {5, 1, 1, 1};
    const Case cases[] = {
        {"[CommSetting]\nBaudRated=12\nAddr=0\n", defaults},
        {"[CommSetting]\r\nBaudRated=7\r\nCodePage=2\r\nCS=0\r\nAddr=200\r\n", {7, 2, 0, 200}},
        {"[commsetting]\nbaudrated = 9\ncodepage=3\ncs=2\naddr=256\n", {9, 1, 1, 1}},
        {"[CommSetting]\nBaudRated=-1\nCodePage=x\nCS=\nAddr=-5\n", defaults},
        {"[CommSetting]\nBaudRated=99999999999\nCodePage=1.5\nCS=0x1\nAddr=12 3\n", defaults},
        {"[UserSymbols]\n0=1F1F1F1F1F1F1F1F\n", defaults},
        {"", defaults},
    };
    const QString file = path(QStringLiteral("settings.tkm"));
    for (const Case& c : cases) {
        write(file, c.file);
        setValues(0, 0, 0, 100);
        answer(window->OpenDialog1, file);
        page()->Button16->click();
        EXPECT_EQ(values(), c.expected) << c.file.toStdString();
    }
    EXPECT_EQ(window->SaveDialog1->FileName(), file);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingPageTest, SaveToFileWritesANewFileThatReadsBack) {
    setValues(7, 2, 0, 12);
    answer(window->SaveDialog1, path(QStringLiteral("mine"))); // typed without an extension
    const QDateTime before = QDateTime::currentDateTime();
    page()->Button17->click();
    const QDateTime after = QDateTime::currentDateTime();

    const QString saved = path(QStringLiteral("mine.tkm"));
    const QByteArray bytes = contents(saved);
    EXPECT_TRUE(bytes.startsWith("[CommSetting]\r\nBaudRated=7\r\nCodePage=2\r\nCS=0\r\nAddr=12\r\n"
                                 "[Modification]\r\nDateTime="))
        << bytes.toStdString();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    expectStampBetween(bytes, before, after);
    EXPECT_EQ(window->OpenDialog1->FileName(), saved);

    setValues(0, 0, 1, 1);
    window->OpenDialog1->setChooser([](const FileDialog& dialog) { return dialog.FileName(); });
    page()->Button16->click();
    EXPECT_EQ(values(), (std::vector<int>{7, 2, 0, 12}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingPageTest, SaveToFileKeepsEverythingElseInTheFile) {
    const QString file = path(QStringLiteral("both.tkm"));
    write(file,
          "; kept\r\n[UserSymbols]\r\n0=1f1f1f1f1f1f1f1f\r\n\r\n[CommSetting]\r\nBaudRated=1\r\nMine=yes\r\n"
          "[Modification]\r\nDateTime=yesterday\r\nBy=someone\r\n");
    setValues(5, 1, 1, 3);
    answer(window->SaveDialog1, file);
    page()->Button17->click();
    const QByteArray bytes = contents(file);
    const QByteArray expectedStart =
        "; kept\r\n[UserSymbols]\r\n0=1f1f1f1f1f1f1f1f\r\n\r\n[CommSetting]\r\nBaudRated=5\r\nMine=yes\r\n"
        "CodePage=1\r\nCS=1\r\nAddr=3\r\n[Modification]\r\nDateTime=";
    EXPECT_TRUE(bytes.startsWith(expectedStart)) << bytes.toStdString();
    EXPECT_TRUE(bytes.endsWith("\r\nBy=someone\r\n")) << bytes.toStdString();
}

TEST_F(SettingPageTest, SavingIntoAnExistingFileAsksFirstAndSaysItsOtherSectionsStay) {
    const QString file = path(QStringLiteral("both.tkm"));
    const QByteArray before = "[UserSymbols]\r\n0=1F1F1F1F1F1F1F1F\r\n";
    write(file, before);
    bool ok = false;
    std::vector<std::pair<AppDialogs::Icon, AppDialogs::Buttons>> boxes;
    AppDialogs::setMessageBox([&](AppDialogs::Icon icon, AppDialogs::Buttons buttons, const QString& text) {
        messages << text;
        boxes.emplace_back(icon, buttons);
        return ok;
    });
    const QString question =
        QStringLiteral("%1 already exists.\nSave the settings into it? Its other sections are kept.")
            .arg(file);
    answer(window->SaveDialog1, file);
    page()->Button17->click();
    EXPECT_EQ(messages, QStringList{question});
    EXPECT_EQ(boxes, (std::vector{std::pair{AppDialogs::Icon::Warning, AppDialogs::Buttons::OkCancel}}));
    EXPECT_EQ(contents(file), before);
    EXPECT_TRUE(window->OpenDialog1->FileName().isEmpty());

    messages.clear();
    ok = true;
    page()->Button17->click();
    EXPECT_EQ(messages, QStringList{question});
    EXPECT_TRUE(contents(file).startsWith(before + "[CommSetting]\r\n"));
    EXPECT_EQ(window->OpenDialog1->FileName(), file);

    // Not for a new file, nor for one that is refused anyway (lines that end in CR alone).
    messages.clear();
    answer(window->SaveDialog1, path(QStringLiteral("new.tkm")));
    page()->Button17->click();
    EXPECT_TRUE(messages.isEmpty());
    const QString mac = path(QStringLiteral("mac.tkm"));
    write(mac, "[CommSetting]\rAddr=3\r");
    answer(window->SaveDialog1, mac);
    page()->Button17->click();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Cannot save %1:\nThe file's lines end in CR alone; .tkm "
                                                   "files end them in CR LF or LF")
                                        .arg(mac)});
    EXPECT_EQ(contents(mac), "[CommSetting]\rAddr=3\r");
}

TEST_F(SettingPageTest, FilesThatCannotBeReadOrWrittenAreReportedAndChangeNothing) {
    setValues(3, 0, 0, 9);
    answer(window->OpenDialog1, folder.path());
    page()->Button16->click();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Cannot read %1:\nIs a directory").arg(folder.path())});
    EXPECT_EQ(values(), (std::vector<int>{3, 0, 0, 9}));
    EXPECT_TRUE(window->SaveDialog1->FileName().isEmpty());

    messages.clear();
    const QString nowhere = path(QStringLiteral("gone/s.tkm"));
    answer(window->SaveDialog1, nowhere);
    page()->Button17->click();
    EXPECT_EQ(messages,
              QStringList{QStringLiteral("Cannot save %1:\nNo such file or directory").arg(nowhere)});
    EXPECT_EQ(window->OpenDialog1->FileName(), folder.path()) << "the unreadable name is not passed on";

    // Something that is there but cannot be read is not written over.
    messages.clear();
    const QString pipe = path(QStringLiteral("pipe.tkm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    answer(window->SaveDialog1, pipe);
    page()->Button17->click();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Cannot save %1:\nNot a regular file").arg(pipe)});
    EXPECT_TRUE(QFileInfo(pipe).exists());

    messages.clear();
    answer(window->OpenDialog1, std::nullopt);
    answer(window->SaveDialog1, std::nullopt);
    page()->Button16->click();
    page()->Button17->click();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(values(), (std::vector<int>{3, 0, 0, 9}));
}

TEST_F(SettingPageTest, DialogNamesGetTheDefaultExtension) {
    write(path(QStringLiteral("b.tkm")), "");
    write(path(QStringLiteral("c")), "");
    struct Case {
        FileDialog* dialog;
        const char* typed;
        const char* chosen;
    };
    const Case cases[] = {
        {window->SaveDialog1, "a", "a.tkm"},   {window->SaveDialog1, "a.txt", "a.txt"},
        {window->OpenDialog1, "b", "b.tkm"},   {window->OpenDialog1, "c", "c"},
        {window->OpenDialog1, "none", "none"},
    };
    for (const Case& c : cases) {
        answer(c.dialog, path(QString::fromLatin1(c.typed)));
        ASSERT_TRUE(c.dialog->Execute());
        EXPECT_EQ(c.dialog->FileName(), path(QString::fromLatin1(c.chosen))) << c.typed;
    }
}

TEST_F(SettingPageTest, DialogsStartInTheProgramsFolderWhenItIsWritable) {
    EXPECT_EQ(FileDialog::StartFolder(folder.path()), folder.path());
    EXPECT_EQ(FileDialog::StartFolder(path(QStringLiteral("missing"))), QDir::homePath());
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
    const QString installed = path(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkdir(installed));
    ASSERT_EQ(::chmod(QFile::encodeName(installed).constData(), 0555), 0);
    EXPECT_EQ(FileDialog::StartFolder(installed), QDir::homePath());
}
