#include "app/CommTransactPort.h"

#include "seriallink/TnrComm.h"

bool CommTransactPort::GetActive() const {
    return comm_->GetActive();
}

std::string CommTransactPort::ReadString() {
    const QByteArray bytes = comm_->ReadString();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void CommTransactPort::SendString(const std::string& bytes) {
    comm_->SendString(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (OnFrameSent)
        OnFrameSent();
}
