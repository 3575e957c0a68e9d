#pragma once

#include "tests/support/ScriptedPort.h"
#include "WindowFixture.h"

#include "app/FileDialog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// The window answered by a scripted port, with a scratch folder for .tkm files and the file dialogs
// answered by the test instead of the user.
class PageFileFixture : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
        window->setSleep([](int) {});
    }

    // Answers through `terminal` from now on; frames sent are in port->sent.
    void talkTo(ScriptedPort::Script terminal) {
        port = std::make_unique<ScriptedPort>(std::move(terminal));
        window->setTransactPort(port.get());
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    // The next time the dialog runs it returns this name (nothing: Cancel).
    static void answer(FileDialog* dialog, std::optional<QString> name) {
        dialog->setChooser([name](const FileDialog&) { return name; });
    }

    static QByteArray contents(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QTemporaryDir folder;
    std::unique_ptr<ScriptedPort> port;
};
