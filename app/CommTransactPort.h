#pragma once

#include "protocol/TransactPort.h"

class TnrComm;

// The command transaction's view of the main window's serial port component.
// User-interface thread only, like the component's own calls.
class CommTransactPort : public tkm::protocol::TransactPort {
public:
    explicit CommTransactPort(TnrComm* comm) : comm_(comm) {}

    bool GetActive() const override;
    std::string ReadString() override;
    void SendString(const std::string& bytes) override;

private:
    TnrComm* comm_;
};
