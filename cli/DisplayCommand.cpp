// display: text, clear, cursor, lamps and display settings, as the Display page sends them.
#include "cli/CommandWords.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include "files/TerminalText.h"

#include "terminal/Configuration.h"

#include "protocol/Commands.h"
#include "protocol/Conversions.h"
#include "protocol/Replies.h"

#include <QJsonObject>

namespace proto = tkm::protocol;

namespace {

ExitStatus text(ToolContext& c, const CommandWords& w) {
    w.expectWords(1);
    w.allowOptions({QStringLiteral("row"), QStringLiteral("column")});
    const QString given = w.word(1);
    const std::optional<QString> row = w.value(QStringLiteral("row"));
    const std::optional<QString> column = w.value(QStringLiteral("column"));
    const int r = row ? w.number(*row, 0, 3, QStringLiteral("--row")) : 0;
    const int col = column ? w.number(*column, 0, 19, QStringLiteral("--column")) : 0;

    QString refused;
    const std::string win1251 = TerminalText::displayText(given, &refused);
    if (!refused.isEmpty())
        w.fail(
            QStringLiteral("The terminal cannot show these characters: %1\nNothing was sent.").arg(refused));
    if (given.toUcs4().size() > TerminalText::kDisplayTextLength)
        c.output.message(QStringLiteral("display text: only the first %1 characters are sent")
                             .arg(TerminalText::kDisplayTextLength));

    // Converted for the code page the terminal reports, as the Display page does with the one it cached.
    const tkm::terminal::Configuration configuration =
        c.line.take(tkm::terminal::ReadConfiguration(c.line, c.line.address()));
    const std::string converted = proto::ToTerminalCodePage(win1251, configuration.codePageCode);
    const int a = c.line.address();
    c.line.ask(row || column ? proto::WriteAt(a, r, col, converted) : proto::WriteText(a, converted));

    QJsonObject result{{QStringLiteral("text"), TerminalText::visible(win1251)}};
    if (row || column) {
        result.insert(QStringLiteral("row"), r);
        result.insert(QStringLiteral("column"), col);
    }
    c.output.confirmation(QStringLiteral("sent: ") + TerminalText::visible(win1251), result);
    return ExitStatus::Done;
}

ExitStatus cursor(ToolContext& c, const CommandWords& w) {
    w.expectWords(2);
    w.allowOptions({});
    const int row = w.number(w.word(1), 0, 3, QStringLiteral("the row"));
    const int column = w.number(w.word(2), 0, 19, QStringLiteral("the column"));
    c.line.ask(proto::WriteAt(c.line.address(), row, column));
    c.output.confirmation(QStringLiteral("cursor at row %1, column %2").arg(row).arg(column),
                          {{QStringLiteral("row"), row}, {QStringLiteral("column"), column}});
    return ExitStatus::Done;
}

ExitStatus lamp(ToolContext& c, const CommandWords& w) {
    w.expectWords(2);
    w.allowOptions({});
    const int lamp = w.number(w.word(1), 1, 2, QStringLiteral("the lamp"));
    const bool on = w.onOff(w.word(2), QStringLiteral("the lamp's state"));
    c.line.ask(proto::SetIndicator(c.line.address(), lamp, on));
    c.output.confirmation(
        QStringLiteral("lamp %1 %2").arg(lamp).arg(on ? QStringLiteral("on") : QStringLiteral("off")),
        {{QStringLiteral("lamp"), lamp}, {QStringLiteral("on"), on}});
    return ExitStatus::Done;
}

ExitStatus settings(ToolContext& c, const CommandWords& w) {
    w.expectWords(0);
    const QStringList names{QStringLiteral("blink"), QStringLiteral("static"), QStringLiteral("enabled"),
                            QStringLiteral("eeprom")};
    w.allowOptions(names);
    proto::DisplayOptions options;
    options.blinkingCursor = w.flag(names[0]);
    options.staticCursor = w.flag(names[1]);
    options.displayEnabled = w.flag(names[2]);
    options.saveToEeprom = w.flag(names[3]);
    c.line.ask(proto::WriteDisplaySettings(c.line.address(), options));
    QJsonObject result;
    QStringList shown;
    for (const QString& name : names) {
        result.insert(name, w.flag(name));
        if (w.flag(name))
            shown << name;
    }
    c.output.confirmation(QStringLiteral("display settings: ") +
                              (shown.isEmpty() ? QStringLiteral("none") : shown.join(QStringLiteral(", "))),
                          result);
    return ExitStatus::Done;
}

} // namespace

namespace ToolCommands {

ExitStatus display(ToolContext& c) {
    const QString sub = CommandWords::subcommand(c.options, {QStringLiteral("text"), QStringLiteral("clear"),
                                                             QStringLiteral("cursor"), QStringLiteral("lamp"),
                                                             QStringLiteral("settings")});
    const CommandWords w(c.options, QStringLiteral("display ") + sub);
    if (sub == QLatin1StringView("text"))
        return text(c, w);
    if (sub == QLatin1StringView("cursor"))
        return cursor(c, w);
    if (sub == QLatin1StringView("lamp"))
        return lamp(c, w);
    if (sub == QLatin1StringView("settings"))
        return settings(c, w);
    w.expectWords(0);
    w.allowOptions({});
    c.line.ask(proto::ClearDisplay(c.line.address()));
    c.output.confirmation(QStringLiteral("display cleared"), {{QStringLiteral("cleared"), true}});
    return ExitStatus::Done;
}

} // namespace ToolCommands
