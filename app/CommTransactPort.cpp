#include "app/CommTransactPort.h"

#include "seriallink/TnrComm.h"

bool CommTransactPort::GetActive() const {
    return comm_->GetActive();
}

std::string CommTransactPort::ReadString() {
    return comm_->ReadString();
}

void CommTransactPort::SendString(const std::string& bytes) {
    comm_->SendString(bytes);
}
