#pragma once

#include "protocol/TransactPort.h"

#include <QString>

#include <functional>
#include <memory>

class TnrComm;

// The tool's serial port: the window's port component TnrComm, set up as the window sets up its own
// (8 data bits, no parity, one stop bit, no flow control), so that opening it fails with the same
// messages (said in the tool's words: a terminal has no port chooser to choose again). Unlike the window's
// port it can wait for a reply's bytes, which lets an exchange end as soon as the reply is whole
// (TransactUntilReply). Owner thread only, like TnrComm.
class LinePort : public tkm::protocol::TransactPort {
public:
    LinePort();
    ~LinePort() override;
    LinePort(const LinePort&) = delete;
    LinePort& operator=(const LinePort&) = delete;

    // Opens the device at the rate. Throws ToolError (PortError) with the port component's message.
    void open(const QString& path, int baudRate);
    void setBaudRate(int baudRate);
    // RS-485 direction control from the next open (see TnrCustomComm::SetRs485).
    void setRs485(bool on);
    // The longest USB latency timer the exchanges can live with (see TnrCustomSerialComm).
    void setLatencyBudget(int milliseconds);
    using Notice = std::function<void(const QString& text)>;
    // What the port has to say after an open: warnings (a slow adapter, a port shared with another
    // program) and notes (the direction control in effect).
    void setNotices(Notice warning, Notice note);
    QString path() const { return path_; }

    // What the last exchange sent and what came back after it (the line's echo of the frame left
    // out), for the trace of exchanges that failed. beginExchange forgets the last one.
    void beginExchange();
    const std::string& lastSent() const { return sent_; }
    std::string lastReceived() const;

    bool GetActive() const override;
    std::string ReadString() override;
    void SendString(const std::string& bytes) override;
    InputWait WaitForInput(std::chrono::milliseconds timeout) override;

private:
    std::unique_ptr<TnrComm> comm_;
    QString path_;
    std::string sent_;
    std::string received_;
};
