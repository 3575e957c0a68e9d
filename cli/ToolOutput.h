#pragma once

#include "cli/ToolError.h"

#include <QJsonObject>
#include <QString>

#include <cstdio>

// Where the tool writes: results on standard output (text lines, or one JSON object per result with
// --json), messages and the trace on standard error, progress on standard error only when that is a
// terminal. A write to standard output that fails (a reader gone, a full disk) throws ToolError at
// once (kind file; status 141 for a closed pipe, as SIGPIPE would end the program), so that the
// command ends and releases its port. Owner thread only.
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
    // A message on standard error, each of its lines prefixed with the program's name.
    void message(const QString& text);
    // How the command failed: the message on standard error and, with --json, the one object
    // {"error": {"kind", "message"}, "exit"} on standard output (unless that is what failed).
    void failure(ErrorKind kind, const QString& message, int exitStatus);
    // --quiet: confirmations of commands that only act are left out (results, errors and the JSON
    // objects a script reads are not).
    void setQuiet(bool quiet) { quiet_ = quiet; }
    // A confirmation of what a command did: as result(), but no text line with --quiet.
    void confirmation(const QString& line, const QJsonObject& object);
    // A line on standard error as it is (trace, instructions).
    void note(const QString& text);
    // A progress line that overwrites the previous one, on a terminal only; empty text clears it.
    void progress(const QString& text);
    bool showsProgress() const { return progressShown_; }

private:
    void write(std::FILE* stream, const QString& text);
    void writeOut(const QString& text);

    bool json_;
    std::FILE* out_;
    std::FILE* err_;
    bool progressShown_;
    bool outFailed_ = false;
    bool quiet_ = false;
    qsizetype progressWidth_ = 0;
};
