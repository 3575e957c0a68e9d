// The program the killed-save test kills: saves one .tkm file over an existing one through the
// window's own file layer (TkmFiles with a save dialog that answers the given path), as the Setting
// or UserSymbols page does. It writes "r" to its output just before the save starts and "d" when the
// save is done, so that the test can time its kill.
//
//   tkm_save_child <file> settings|symbols <generation>
#include "SaveGeneration.h"

#include "app/AppDialogs.h"
#include "app/FileDialog.h"
#include "app/TkmFiles.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const SaveKind kind = std::strcmp(argv[2], "symbols") == 0 ? SaveKind::Symbols : SaveKind::Settings;
    const int generation = std::atoi(argv[3]);

    // No window here: a failure the page would show in a box goes to the error output, and the
    // question before saving into the existing file is answered OK.
    AppDialogs::setMessageBox([](AppDialogs::Icon icon, AppDialogs::Buttons, const QString& text) {
        if (icon == AppDialogs::Icon::Error)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return true;
    });
    FileDialog openDialog(FileDialog::Kind::Open, nullptr);
    FileDialog saveDialog(FileDialog::Kind::Save, nullptr);
    saveDialog.setChooser([&path](const FileDialog&) { return std::optional<QString>(path); });
    TkmFiles files(&openDialog, &saveDialog);

    if (::write(STDOUT_FILENO, "r", 1) != 1)
        return 3;
    const bool saved = files.save(QStringLiteral("the keys"),
                                  [&](IniFile& file) { WriteGeneration(file, kind, generation); });
    if (::write(STDOUT_FILENO, saved ? "d" : "f", 1) != 1)
        return 3;
    return saved ? 0 : 1;
}
