#include "cli/ToolOutput.h"

#include <QJsonDocument>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <unistd.h>

ToolOutput::ToolOutput(bool json, std::FILE* out, std::FILE* err)
    : json_(json), out_(out), err_(err), progressShown_(::isatty(::fileno(err)) == 1) {}

void ToolOutput::write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void ToolOutput::writeOut(const QString& text) {
    if (outFailed_)
        return;
    const QByteArray bytes = text.toLocal8Bit();
    errno = 0;
    const std::size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_);
    if (written == static_cast<std::size_t>(bytes.size()) && std::fflush(out_) == 0)
        return;
    const int error = errno;
    outFailed_ = true;
    std::clearerr(out_);
    const QString why = error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("write failed");
    throw ToolError(ErrorKind::File, QStringLiteral("cannot write to standard output: ") + why,
                    error == EPIPE ? static_cast<ExitStatus>(128 + SIGPIPE) : ExitStatus::Usage);
}

void ToolOutput::text(const QString& line) {
    if (json_)
        return;
    progress({}); // both may go to the same terminal
    writeOut(line + u'\n');
}

void ToolOutput::object(const QJsonObject& object) {
    if (!json_)
        return;
    progress({});
    writeOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + u'\n');
}

void ToolOutput::result(const QString& line, const QJsonObject& object) {
    text(line);
    this->object(object);
}

void ToolOutput::confirmation(const QString& line, const QJsonObject& object) {
    if (!quiet_)
        text(line);
    this->object(object);
}

void ToolOutput::message(const QString& text) {
    progress({});
    QString prefixed;
    for (const QString& line : text.split(u'\n'))
        prefixed += QStringLiteral("tkm9214: ") + line + u'\n';
    write(err_, prefixed);
}

void ToolOutput::failure(ErrorKind kind, const QString& message, int exitStatus) {
    this->message(message);
    if (!json_ || outFailed_)
        return;
    const QJsonObject error{{QStringLiteral("kind"), QString::fromLatin1(ErrorKindName(kind))},
                            {QStringLiteral("message"), message}};
    try {
        object({{QStringLiteral("error"), error}, {QStringLiteral("exit"), exitStatus}});
    } catch (const ToolError&) {
        // Standard output failed as well: the message on standard error has to do.
    }
}

void ToolOutput::note(const QString& text) {
    progress({});
    write(err_, text + u'\n');
}

void ToolOutput::progress(const QString& text) {
    if (!progressShown_ || (text.isEmpty() && progressWidth_ == 0))
        return;
    // Blanks over what is left of a longer line before.
    const QString padding(std::max<qsizetype>(0, progressWidth_ - text.size()), u' ');
    write(err_, u'\r' + text + padding + (text.isEmpty() ? QStringLiteral("\r") : QString()));
    progressWidth_ = text.size();
}
