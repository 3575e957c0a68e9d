#pragma once

#include "protocol/TransactPort.h"

#include <functional>

class TnrComm;

// The command transaction's view of the main window's serial port component.
// User-interface thread only, like the component's own calls.
class CommTransactPort : public tkm::protocol::TransactPort {
public:
    explicit CommTransactPort(TnrComm* comm) : comm_(comm) {}

    bool GetActive() const override;
    std::string ReadString() override;
    void SendString(const std::string& bytes) override;

    // Called after each frame has been handed to the line (the reply wait is counted from there).
    std::function<void()> OnFrameSent;

private:
    TnrComm* comm_;
};
