#pragma once

#include "app/AboutPage.h"
#include "app/AppDialogs.h"
#include "app/DioPage.h"
#include "app/DisplayPage.h"
#include "app/KeyboardPage.h"
#include "app/SettingPage.h"
#include "app/TF1.h"
#include "app/TerminalConnection.h"
#include "app/UserSymbolsPage.h"
#include "app/WdtPage.h"

#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

// A main window whose error and message boxes are recorded instead of shown, with both timers
// stopped so that each test decides when a tick runs.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        AppDialogs::setExceptionBox([this](const QString& text) { exceptions << text; });
        AppDialogs::setMessageBox([this](AppDialogs::Icon, AppDialogs::Buttons, const QString& text) {
            messages << text;
            return true;
        });
        window = std::make_unique<TF1>();
        window->Timer1->stop();
        window->Keyboard->Timer3->stop();
    }

    void TearDown() override {
        window.reset();
        AppDialogs::setExceptionBox({});
        AppDialogs::setMessageBox({});
    }

    std::unique_ptr<TF1> window;
    QStringList exceptions;
    QStringList messages;
};
