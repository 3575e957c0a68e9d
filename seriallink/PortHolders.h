#pragma once
// Which programs have a device open, as far as /proc lets this user see: root sees every process,
// other users their own. Used to name the program that holds a port and to spot one that holds it
// without taking a lock. A program that holds a pseudo-terminal's master as well is its other end
// (a simulator keeps the slave open beside its master) and is not counted. Any thread; reads /proc.
#include <QList>
#include <QString>

class PortHolders {
public:
    struct Holder {
        qint64 Pid = 0;
        QString Program; // the process's name (comm), empty when /proc does not say
    };

    // Processes other than this one with devicePath (any name of the node) open.
    static QList<Holder> Find(const QString& devicePath, const QString& procRoot = QStringLiteral("/proc"));
    // The name of process pid, empty when unknown.
    static QString ProgramOf(qint64 pid, const QString& procRoot = QStringLiteral("/proc"));
    // "minicom (PID 1234)", or "PID 1234" without a name; holders joined with ", ".
    static QString Describe(const Holder& holder);
    static QString Describe(const QList<Holder>& holders);
};
