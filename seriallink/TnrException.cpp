#include "TnrException.h"

TnrException::TnrException(const QString& message)
    : std::runtime_error(message.toStdString()), FMessage(message) {}
