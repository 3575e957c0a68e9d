#pragma once
// A pseudo-terminal pair for serial tests: the component opens the slave by its path, the test
// plays the far end on the master.
#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>
#include <functional>
#include <termios.h>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int Master() const { return FMaster; }
    QString SlavePath() const { return FSlavePath; }
    void Write(const QByteArray& bytes);
    // Everything the master can read within timeoutMs after at least `atLeast` bytes came.
    QByteArray Read(int atLeast, int timeoutMs = 5000);
    termios SlaveSettings() const;
    // Closes the master: the slave side hangs up, like a pulled USB adapter.
    void CloseMaster();

private:
    int FMaster = -1;
    QString FSlavePath;
};

// Bytes whose order shows: a run of 251 values, so a lost, doubled or misplaced block changes what
// follows.
QByteArray TestPattern(qsizetype size, int start = 0);

// Runs the event loop until pred holds or timeoutMs passes; returns pred().
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);
