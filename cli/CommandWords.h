#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class ToolOptions;

// Checks of a command's words and option values; each failure throws UsageError naming the command.
// Pure; any thread.
class CommandWords {
public:
    // name: how messages name the command ("display text", "dio write", ...).
    CommandWords(const ToolOptions& options, QString name);

    // The subcommand (first word), one of the given ones.
    static QString subcommand(const ToolOptions& options, const QStringList& known);

    // Exactly `count` words after the subcommand (skip: how many words the subcommand takes up).
    void expectWords(int count, int skip = 1) const;
    // Only these of the command's options may be given.
    void allowOptions(const QStringList& names) const;

    QString word(int index) const;
    // A decimal number low..high.
    int number(const QString& text, int low, int high, const QString& what) const;
    // A byte as exactly two hex digits.
    int hexByte(const QString& text, const QString& what) const;
    bool onOff(const QString& text, const QString& what) const;
    // --count N (1 and up) and --duration S (seconds, decimals allowed, above 0): how long a watching
    // loop runs; nothing when not given.
    std::optional<int> count() const;
    std::optional<std::chrono::milliseconds> duration() const;
    std::optional<QString> value(const QString& option) const;
    bool flag(const QString& option) const;

    [[noreturn]] void fail(const QString& problem) const;

private:
    const ToolOptions& options_;
    QString name_;
};
