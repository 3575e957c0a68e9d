#pragma once

#include "ToolProcess.h"

#include "sim/SimTerminal.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The tool run as a process against a simulated terminal on a pseudo-terminal of the test's own, whose
// state and line trace the test reads.
class SimulatedTerminalFixture : public ::testing::Test {
public:
    void startTerminal(const tkm::sim::TerminalSettings& settings = {}) {
        tkm::sim::SimTerminal::Options options;
        options.settings = settings;
        terminal = std::make_unique<tkm::sim::SimTerminal>(options);
        ASSERT_EQ(terminal->start(), "");
        port = terminal->slavePath();
    }
    void SetUp() override { startTerminal(); }

    std::vector<std::string> onPort(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--port", port});
        return arguments;
    }
    ToolProcess::Outcome tool(std::vector<std::string> arguments) const {
        return ToolProcess::run(onPort(std::move(arguments)));
    }
    // The frames the terminal received since the last call, carriage returns dropped.
    std::vector<std::string> received() {
        std::vector<std::string> frames =
            terminal->trace().frames(tkm::sim::TraceEntry::Direction::ToTerminal);
        terminal->trace().clear();
        for (std::string& frame : frames) {
            if (!frame.empty() && frame.back() == '\r')
                frame.pop_back();
        }
        return frames;
    }
    tkm::sim::TerminalState state() { return terminal->model().state(); }

    static QJsonObject json(const std::string& out) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out;
        return document.object();
    }
    static QJsonObject json(const char* text) { return json(std::string(text)); }
    // A trace without the time of each line ("  (12 ms)"), which no test can know.
    static std::string withoutTimes(const std::string& trace) {
        static const QRegularExpression time(QStringLiteral("  \\([0-9]+ ms\\)"));
        return QString::fromStdString(trace).remove(time).toStdString();
    }
    // Whether the text holds a match of the pattern.
    static bool matches(const std::string& text, const char* pattern) {
        return QRegularExpression(QString::fromUtf8(pattern)).match(QString::fromStdString(text)).hasMatch();
    }

    std::unique_ptr<tkm::sim::SimTerminal> terminal;
    std::string port;
};
