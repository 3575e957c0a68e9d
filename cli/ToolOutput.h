#pragma once

#include <QJsonObject>
#include <QString>

#include <cstdio>

// Where the tool writes: results on standard output (text lines, or one JSON object per result with
// --json), messages and the trace on standard error, progress on standard error only when that is a
// terminal. Owner thread only.
class ToolOutput {
public:
    ToolOutput(bool json, std::FILE* out = stdout, std::FILE* err = stderr);

    bool json() const { return json_; }
    // A result line in text mode; nothing with --json.
    void text(const QString& line);
    // A result object with --json; nothing in text mode.
    void object(const QJsonObject& object);
    // Either, as the mode asks.
    void result(const QString& line, const QJsonObject& object);
    // A message on standard error, prefixed with the program's name.
    void message(const QString& text);
    // A line on standard error as it is (trace, instructions).
    void note(const QString& text);
    // A progress line that overwrites the previous one, on a terminal only; empty text clears it.
    void progress(const QString& text);
    bool showsProgress() const { return progressShown_; }

private:
    void write(std::FILE* stream, const QString& text);

    bool json_;
    std::FILE* out_;
    std::FILE* err_;
    bool progressShown_;
    qsizetype progressWidth_ = 0;
};
