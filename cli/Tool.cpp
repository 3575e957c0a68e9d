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
#include <optional>

#include <unistd.h>

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
        {"send", ToolCommands::send},
    };
    for (const auto& [known, command] : commands) {
        if (name == QLatin1StringView(known))
            return command;
    }
    return nullptr;
}

// The offset of the first byte that does not belong to UTF-8 text, or nothing.
std::optional<std::size_t> firstNonUtf8(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const std::size_t n = static_cast<std::size_t>(bytes.size());
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = b[i];
        std::size_t length = 0;
        char32_t lowest = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF)
            length = 2, lowest = 0x80;
        else if (c >= 0xE0 && c <= 0xEF)
            length = 3, lowest = 0x800;
        else if (c >= 0xF0 && c <= 0xF4)
            length = 4, lowest = 0x10000;
        else
            return i;
        if (i + length > n)
            return i;
        char32_t code = c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            if ((b[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (b[i + k] & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return std::nullopt;
}

// An argument as a message shows it: bytes that are no text as \xNN.
QString shownArgument(const QByteArray& bytes) {
    QString shown;
    QByteArray rest = bytes;
    while (!rest.isEmpty()) {
        const std::optional<std::size_t> bad = firstNonUtf8(rest);
        const qsizetype good = bad ? static_cast<qsizetype>(*bad) : rest.size();
        shown += QString::fromUtf8(rest.left(good));
        if (!bad)
            break;
        shown +=
            QStringLiteral("\\x") + QStringLiteral("%1")
                                        .arg(static_cast<unsigned char>(rest[good]), 2, 16, QLatin1Char('0'))
                                        .toUpper();
        rest = rest.mid(good + 1);
    }
    return shown;
}

int fail(ToolOutput& output, ErrorKind kind, const QString& message, ExitStatus status) {
    output.failure(kind, message, static_cast<int>(status));
    return static_cast<int>(status);
}

int run(const QStringList& arguments, PortEnumerator* ports, const QString& argumentProblem) {
    const ToolOptions options = ToolOptions::parse(arguments, ToolOptions::Environment::fromProcess());
    ToolOutput output(options.json);
    output.setQuiet(options.quiet);
    if (!argumentProblem.isEmpty())
        return fail(output, ErrorKind::Usage, argumentProblem, ExitStatus::Usage);
    switch (options.action) {
    case ToolOptions::Action::ShowHelp:
    case ToolOptions::Action::ShowVersion:
        std::fputs(options.text.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : static_cast<int>(ExitStatus::Usage);
    case ToolOptions::Action::Fail:
        return fail(output, ErrorKind::Usage, options.text + QStringLiteral(" (try --help)"),
                    ExitStatus::Usage);
    case ToolOptions::Action::Run:
        break;
    }

    // A reader that went away must not end the tool before it has closed its port: the failed write
    // ends the command instead.
    std::signal(SIGPIPE, SIG_IGN);
    std::optional<Interruption> interruption;
    try {
        if (options.command == QLatin1StringView("ports")) {
            if (!options.words.isEmpty() || !options.flags.isEmpty() || !options.values.isEmpty())
                throw UsageError(QStringLiteral("ports takes nothing more"));
            SysfsPortList machine;
            return static_cast<int>(ToolCommands::ports(ports ? *ports : machine, output));
        }
        interruption.emplace(STDOUT_FILENO);
        int status = 0;
        {
            // The line closes (the port released, its lock file removed) before the tool reports.
            ToolLine line(options,
                          options.trace ? TraceLog::Sink([&output](const QString& l) { output.note(l); })
                                        : TraceLog::Sink(),
                          [&output](const QString& warning) { output.message(warning); });
            line.setStopCheck([&interruption] { return interruption->requested(); });
            ToolContext context{options, line, output, *interruption};
            status = static_cast<int>(commandFor(options.command)(context));
        }
        if (interruption->requested())
            return 128 + interruption->signal();
        return status;
    } catch (const ToolError& e) {
        // A signal that cut a wait short (a cancelled prompt) ends the command as the signal.
        if (interruption && interruption->requested() && e.kind() != ErrorKind::File) {
            output.message(QStringLiteral("interrupted: ") + e.message());
            return 128 + interruption->signal();
        }
        return fail(output, e.kind(), e.message(), e.status());
    } catch (const Interrupted&) {
        output.message(QStringLiteral("interrupted"));
        return 128 + interruption->signal();
    } catch (const std::exception& e) {
        return fail(output, ErrorKind::NoAnswer, QString::fromLocal8Bit(e.what()), ExitStatus::NoAnswer);
    }
}

} // namespace

int run(const QStringList& arguments, PortEnumerator* ports) {
    return run(arguments, ports, {});
}

int run(int argc, char** argv) {
    QStringList arguments;
    QString problem;
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        if (const std::optional<std::size_t> bad = firstNonUtf8(bytes); bad && problem.isEmpty() && i > 0) {
            problem =
                QStringLiteral("argument '%1': byte 0x%2 is not UTF-8")
                    .arg(shownArgument(bytes))
                    .arg(QString::number(static_cast<unsigned char>(bytes[static_cast<qsizetype>(*bad)]), 16)
                             .toUpper());
        }
        arguments << QString::fromUtf8(bytes);
    }
    return run(arguments, nullptr, problem);
}

} // namespace Tool
