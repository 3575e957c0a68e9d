// keys and dio: the keypad and the digital lines, as the Keyboard and DIO pages reach them.
#include "cli/CommandWords.h"
#include "cli/Interruption.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"
#include "cli/WatchLoop.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"
#include "protocol/Replies.h"
#include "protocol/Transact.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cctype>

namespace proto = tkm::protocol;

namespace {

QString hexText(int byte) {
    return QString::fromStdString(proto::HexText(static_cast<std::uint32_t>(byte), 2));
}

// The keys pressed since the last query, by their keypad captions.
QStringList pressedKeys(ToolLine& line) {
    const proto::Command query = proto::ReadPressedKeys(line.address());
    const std::optional<std::vector<int>> keys = proto::DecodePressedKeys(line.ask(query));
    if (!keys)
        throw RefusedError(QStringLiteral("the terminal's reply to %1 is not a key list")
                               .arg(QString::fromStdString(query.text)));
    QStringList names;
    for (const int key : *keys) {
        const std::string_view name = proto::KeyName(key);
        names << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    return names;
}

// The lines the direction byte makes inputs (line k in bit 7-k), which a line write does not drive;
// none when the terminal does not tell.
QList<int> inputLines(ToolLine& line) {
    const std::string reply = line.transact(proto::ReadDirection(line.address()));
    const std::optional<std::string> byte =
        proto::IsTransactError(reply) ? std::nullopt : proto::DecodeLineByte(reply);
    QList<int> inputs;
    if (!byte)
        return inputs;
    const int directions = QString::fromStdString(*byte).toInt(nullptr, 16);
    for (int k = 0; k < 8; ++k) {
        if (directions & (0x80 >> k))
            inputs << k;
    }
    return inputs;
}

void showKeys(ToolOutput& output, const QStringList& names) {
    output.result(names.isEmpty() ? QStringLiteral("no key") : names.join(u' '),
                  {{QStringLiteral("keys"), QJsonArray::fromStringList(names)}});
}

} // namespace

namespace ToolCommands {

ExitStatus keys(ToolContext& c) {
    const CommandWords w(c.options, QStringLiteral("keys"));
    w.expectWords(0, 0);
    w.allowOptions({QStringLiteral("watch"), QStringLiteral("count"), QStringLiteral("duration")});
    const std::optional<int> count = w.count();
    const std::optional<std::chrono::milliseconds> duration = w.duration();
    if (!w.flag(QStringLiteral("watch"))) {
        if (count || duration)
            w.fail(QStringLiteral("--count and --duration need --watch"));
        showKeys(c.output, pressedKeys(c.line));
        return ExitStatus::Done;
    }
    // As often as the window's poll tick asks at this rate; a line per query that reports keys.
    const std::chrono::milliseconds interval(proto::PollIntervalMs(c.line.baudIndex()));
    WatchLoop loop(c.interruption, count, duration);
    while (loop.goOn()) {
        const QStringList names = pressedKeys(c.line);
        if (!names.isEmpty()) {
            showKeys(c.output, names);
            loop.counted();
            if (!loop.goOn())
                break;
        }
        loop.pause(interval);
    }
    return ExitStatus::Done;
}

ExitStatus dio(ToolContext& c) {
    const QString sub = CommandWords::subcommand(
        c.options, {QStringLiteral("read"), QStringLiteral("write"), QStringLiteral("directions"),
                    QStringLiteral("save-power-on"), QStringLiteral("save-safe")});
    const CommandWords w(c.options, QStringLiteral("dio ") + sub);
    w.allowOptions({});
    const int a = c.line.address();
    if (sub == QLatin1StringView("read")) {
        w.expectWords(0);
        std::optional<std::string> lines = proto::DecodeLineByte(c.line.ask(proto::ReadLineState(a)));
        if (!lines)
            throw RefusedError(QStringLiteral("the terminal's line state is not two hex digits"));
        const QString shown = QString::fromStdString(*lines).toUpper();
        c.output.result(shown, {{QStringLiteral("lines"), shown}});
    } else if (sub == QLatin1StringView("write") || sub == QLatin1StringView("directions")) {
        w.expectWords(1);
        const bool directions = sub == QLatin1StringView("directions");
        const int byte = w.hexByte(w.word(1), directions ? QStringLiteral("the direction byte")
                                                         : QStringLiteral("the line byte"));
        c.line.ask(directions ? proto::WriteDirection(a, byte) : proto::WriteLineState(a, byte));
        QJsonObject result{
            {directions ? QStringLiteral("directions") : QStringLiteral("lines"), hexText(byte)}};
        if (!directions) {
            const QList<int> inputs = inputLines(c.line);
            QJsonArray listed;
            QStringList numbers;
            for (const int k : inputs) {
                listed.append(k);
                numbers << QString::number(k);
            }
            result.insert(QStringLiteral("inputs"), listed);
            if (!inputs.isEmpty()) {
                c.output.message(
                    QStringLiteral("dio write: line%1 %2 %3 input%1 and so not driven")
                        .arg(inputs.size() == 1 ? QString() : QStringLiteral("s"),
                             numbers.join(QStringLiteral(", ")),
                             inputs.size() == 1 ? QStringLiteral("is an") : QStringLiteral("are")));
            }
        }
        c.output.confirmation(hexText(byte), result);
    } else {
        w.expectWords(0);
        const bool powerOn = sub == QLatin1StringView("save-power-on");
        c.line.ask(powerOn ? proto::SavePowerOnState(a) : proto::SaveSafeState(a));
        c.output.confirmation(
            powerOn ? QStringLiteral("outputs saved as the power-on state")
                    : QStringLiteral("outputs saved as the safe state"),
            {{QStringLiteral("saved"), powerOn ? QStringLiteral("power_on") : QStringLiteral("safe")}});
    }
    return ExitStatus::Done;
}

} // namespace ToolCommands
