#pragma once

#include "app/TrafficMemo.h"
#include "protocol/TrafficLog.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

// The traffic log of the command transaction kept in the main window's memo (RCVS). Lines go into the
// memo once the event loop is back, all that arrived meanwhile in one append: laying out and
// scrolling the memo is then no part of any exchange, and a tick of several exchanges costs one
// append. Line numbers and the clearing count the waiting lines too.
// The queued call that appends the waiting lines is this object's own: it goes with it.
// User-interface thread only.
class MemoTrafficLog : public QObject, public tkm::protocol::TrafficLog {
public:
    explicit MemoTrafficLog(TrafficMemo* memo) : memo_(memo) {}

    void AppendLine(const std::string& line) override;
    void AppendNote(const std::string& text) override;
    // A line of the window's own (the port went away, another program holds it), in the same order.
    void AppendNote(const QString& text);
    int LineCount() const override;
    // Empties the memo and drops the lines still waiting for it.
    void Clear() override;
    // Puts the waiting lines into the memo now.
    void Flush();

private:
    QPointer<TrafficMemo> memo_;
    QStringList waiting_;
};
