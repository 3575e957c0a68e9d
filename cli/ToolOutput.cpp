#include "cli/ToolOutput.h"

#include <QJsonDocument>

#include <algorithm>

#include <unistd.h>

ToolOutput::ToolOutput(bool json, std::FILE* out, std::FILE* err)
    : json_(json), out_(out), err_(err), progressShown_(::isatty(::fileno(err)) == 1) {}

void ToolOutput::write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void ToolOutput::text(const QString& line) {
    if (json_)
        return;
    progress({}); // both may go to the same terminal
    write(out_, line + u'\n');
}

void ToolOutput::object(const QJsonObject& object) {
    if (!json_)
        return;
    progress({});
    write(out_, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + u'\n');
}

void ToolOutput::result(const QString& line, const QJsonObject& object) {
    text(line);
    this->object(object);
}

void ToolOutput::message(const QString& text) {
    progress({});
    write(err_, QStringLiteral("tkm9214: ") + text + u'\n');
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
