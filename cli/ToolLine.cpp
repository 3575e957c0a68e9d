#include "cli/ToolLine.h"

#include "cli/Interruption.h"
#include "cli/ToolError.h"
#include "cli/ToolOptions.h"

#include "files/TerminalText.h"

#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include "sim/SimTerminal.h"

#include <QCoreApplication>

ToolLine::ToolLine(const ToolOptions& options, TraceLog::Sink trace, TraceLog::Sink warn)
    : log_(std::move(trace)), path_(options.port), simulated_(options.simulator),
      simulatorEcho_(options.simulatorEcho), simulatorTurnaroundMs_(options.simulatorTurnaroundMs),
      address_(options.address), baudIndex_(ToolOptions::baudIndexOf(options.baudRate).value_or(5)),
      checksum_(options.checksum) {
    retries_ = options.retries;
    if (options.timeoutMs)
        links_.replyWaitMs = *options.timeoutMs;
    port_.setRs485(options.rs485);
    port_.setNotices(std::move(warn), [this](const QString& text) { log_.AppendNote(text.toStdString()); });
    links_.port = &port_;
    links_.log = &log_;
    links_.baudIndex = [this] { return baudIndex_; };
    links_.checksumMode = [this] { return checksum_; };
    links_.sleepMs = tkm::protocol::SleepMilliseconds;
    // The port's line events, handed to this thread, are taken once per exchange as in the window.
    links_.processEvents = [] {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    };
}

void ToolLine::open() {
    if (port_.GetActive())
        return;
    if (opened_)
        throw PortError(QStringLiteral("the port %1 closed: it is not present any more").arg(port_.path()));
    QString path = path_;
    if (simulated_ && !simulator_) {
        tkm::sim::SimTerminal::Options simulated;
        simulated.echo = simulatorEcho_;
        simulated.turnaround = std::chrono::milliseconds(simulatorTurnaroundMs_);
        auto simulator = std::make_unique<tkm::sim::SimTerminal>(simulated);
        if (const std::string error = simulator->start(); !error.empty())
            throw PortError(QStringLiteral("The TKM-9214 simulator did not start: ") +
                            QString::fromLocal8Bit(error.c_str()));
        simulator_ = std::move(simulator);
    }
    if (simulator_)
        path = QString::fromLocal8Bit(simulator_->slavePath().c_str());
    if (path.isEmpty())
        throw UsageError(QStringLiteral("no port: give --port PATH or --simulator"));
    port_.setLatencyBudget(tkm::protocol::AdapterLatencyBudgetMs(baudIndex_));
    links_.echoNoted = false;
    port_.open(path, ToolOptions::rateOfIndex(baudIndex_));
    opened_ = true;
}

ToolLine::~ToolLine() = default;

void ToolLine::setBaudIndex(int index) {
    if (index == baudIndex_)
        return;
    baudIndex_ = index;
    port_.setLatencyBudget(tkm::protocol::AdapterLatencyBudgetMs(index));
    if (port_.GetActive())
        port_.setBaudRate(ToolOptions::rateOfIndex(index));
}

std::string ToolLine::transact(const tkm::protocol::Command& command, bool retried) {
    for (int attempt = 0;; ++attempt) {
        if (stop_ && stop_())
            throw Interrupted();
        open();
        port_.beginExchange();
        const long long logged = log_.exchanges();
        std::string reply = tkm::protocol::TransactUntilReply(links_, command);
        // The window's log leaves out what did not start as expected; a trace explains every failure.
        if (log_.exchanges() == logged && !port_.lastSent().empty())
            log_.AppendFailure(port_.lastSent(), port_.lastReceived());
        if (!tkm::protocol::IsTransactError(reply))
            return reply;
        open(); // a port that went away is a port error, not a silent terminal
        if (!retried || attempt >= retries_)
            return reply;
    }
}

std::string ToolLine::ask(const tkm::protocol::Command& command) {
    std::string reply = transact(command);
    if (tkm::protocol::IsTransactError(reply))
        throw failure({tkm::terminal::Fault::Kind::NoAnswer, command, {}, {}});
    return reply;
}

std::optional<std::string> ToolLine::exchange(const tkm::protocol::Command& command) {
    std::string reply = transact(command);
    if (tkm::protocol::IsTransactError(reply))
        return std::nullopt;
    return reply;
}

ToolError ToolLine::failure(const tkm::terminal::Fault& fault) const {
    const QString command = TerminalText::visible(fault.command.text);
    if (fault.kind == tkm::terminal::Fault::Kind::InvalidReply) {
        const std::string why =
            fault.reason([](std::string_view bytes) { return TerminalText::visible(bytes).toStdString(); });
        return RefusedError(QStringLiteral("the terminal's reply to %1 is not valid: %2")
                                .arg(command, QString::fromStdString(why)));
    }
    // The failed exchange is the line's last one: what came back, if anything, tells silence from refusal.
    std::string received = port_.lastReceived();
    if (received.empty())
        return NoAnswerError(QStringLiteral("the terminal did not answer %1 (%2)").arg(command, where()));
    if (received.back() == '\r')
        received.pop_back();
    return RefusedError(QStringLiteral("the terminal did not answer %1 as expected: it replied %2 (%3)")
                            .arg(command, TerminalText::visible(received), where()));
}

QString ToolLine::describe(int address, int baudIndex, bool checksum) {
    return QStringLiteral("address 0x%1, %2 baud, checksum %3")
        .arg(QString::fromStdString(tkm::protocol::AddressText(address)))
        .arg(ToolOptions::rateOfIndex(baudIndex))
        .arg(checksum ? QStringLiteral("on") : QStringLiteral("off"));
}

QString ToolLine::where() const {
    return describe(address_, baudIndex_, checksum_);
}
