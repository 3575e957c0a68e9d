#pragma once

#include "protocol/TransactPort.h"

#include <string>

namespace tkm::bench {

// The leanest host port there is: a tty opened non-blocking in raw 8N1 at a standard rate, read and
// written with plain system calls. It shows what the transaction costs without the serial link's
// threads. Used from one thread.
class RawPtyPort : public protocol::TransactPort {
public:
    RawPtyPort(const std::string& path, int baudRate);
    ~RawPtyPort() override;
    RawPtyPort(const RawPtyPort&) = delete;
    RawPtyPort& operator=(const RawPtyPort&) = delete;

    // Empty when open, else why not.
    const std::string& error() const { return error_; }

    bool GetActive() const override { return fd_ >= 0; }
    std::string ReadString() override;
    void SendString(const std::string& bytes) override;

private:
    int fd_ = -1;
    std::string error_;
};

} // namespace tkm::bench
