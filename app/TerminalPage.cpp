#include "app/TerminalPage.h"

#include "app/TerminalConnection.h"

#include "protocol/Commands.h"

TerminalPage::TerminalPage(const QString& name, TerminalConnection& connection, QWidget* parent)
    : QWidget(parent), connection_(connection) {
    setObjectName(name);
}

std::string TerminalPage::WriteRow(int row, const std::string& text) {
    return connection_.Transact(tkm::protocol::WriteAt(connection_.address(), row, 0, text));
}
