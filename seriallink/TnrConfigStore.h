#pragma once
// A small key-value file: one "key=hex bytes" line per value, order kept, written atomically
// (QSaveFile: a temporary file, then rename). Keys may hold any character but a line break.
#include <QByteArray>
#include <QString>
#include <optional>

class TnrConfigStore {
public:
    explicit TnrConfigStore(QString path) : FPath(std::move(path)) {}
    std::optional<QByteArray> Read(const QString& key) const;
    // False when the file could not be written; the old file is then left as it was.
    bool Write(const QString& key, const QByteArray& value);

private:
    QString FPath;
};
