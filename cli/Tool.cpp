#include "cli/Tool.h"

#include "cli/Interruption.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include "seriallink/SysfsPortList.h"

#include <csignal>
#include <cstdio>
#include <exception>

namespace Tool {

namespace {

using Command = ExitStatus (*)(ToolContext&);

Command commandFor(const QString& name) {
    static const std::pair<const char*, Command> commands[] = {
        {"identify", ToolCommands::identify},   {"find", ToolCommands::find},
        {"configure", ToolCommands::configure}, {"display", ToolCommands::display},
        {"keys", ToolCommands::keys},           {"dio", ToolCommands::dio},
        {"symbols", ToolCommands::symbols},     {"watchdog", ToolCommands::watchdog},
        {"save", ToolCommands::save},           {"apply", ToolCommands::apply},
    };
    for (const auto& [known, command] : commands) {
        if (name == QLatin1StringView(known))
            return command;
    }
    return nullptr;
}

} // namespace

int run(const QStringList& arguments, PortEnumerator* ports) {
    const ToolOptions options = ToolOptions::parse(arguments);
    switch (options.action) {
    case ToolOptions::Action::ShowHelp:
    case ToolOptions::Action::ShowVersion:
        std::fputs(options.text.toLocal8Bit().constData(), stdout);
        return 0;
    case ToolOptions::Action::Fail:
        std::fprintf(stderr, "%s: %s (try --help)\n", ToolOptions::kProgram,
                     options.text.toLocal8Bit().constData());
        return static_cast<int>(ExitStatus::Usage);
    case ToolOptions::Action::Run:
        break;
    }

    // A reader that went away must not end the tool before it has closed its port.
    std::signal(SIGPIPE, SIG_IGN);
    ToolOutput output(options.json);
    try {
        if (options.command == QLatin1StringView("ports")) {
            if (!options.words.isEmpty() || !options.flags.isEmpty() || !options.values.isEmpty())
                throw UsageError(QStringLiteral("ports takes nothing more"));
            SysfsPortList machine;
            return static_cast<int>(ToolCommands::ports(ports ? *ports : machine, output));
        }
        const Interruption interruption;
        ToolLine line(options,
                      options.trace ? TraceLog::Sink([&output](const QString& l) { output.note(l); })
                                    : TraceLog::Sink(),
                      [&output](const QString& warning) { output.message(warning); });
        ToolContext context{options, line, output, interruption};
        return static_cast<int>(commandFor(options.command)(context));
    } catch (const ToolError& e) {
        output.message(e.message());
        return static_cast<int>(e.status());
    } catch (const std::exception& e) {
        output.message(QString::fromLocal8Bit(e.what()));
        return static_cast<int>(ExitStatus::NoAnswer);
    }
}

} // namespace Tool
