// send: one frame as given, for debugging the protocol with the lock, trace and time-out of every
// other command.
#include "cli/CommandWords.h"
#include "cli/ToolCommands.h"
#include "cli/ToolContext.h"
#include "cli/ToolLine.h"
#include "cli/ToolOptions.h"
#include "cli/ToolOutput.h"

#include "files/TerminalText.h"

#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/Transact.h"

#include <QJsonObject>

#include <algorithm>

namespace proto = tkm::protocol;

namespace {

// The reply without its prefix ("!" or "?" with the address, or ">"): what the commands read.
std::string payloadOf(const std::string& reply, const std::string& frame) {
    const std::string address = frame.substr(1, 2);
    if ((reply.starts_with('!') || reply.starts_with('?')) && reply.compare(1, 2, address) == 0)
        return reply.substr(3);
    if (reply.starts_with('>'))
        return reply.substr(1);
    return reply;
}

} // namespace

namespace ToolCommands {

ExitStatus send(ToolContext& c) {
    const CommandWords w(c.options, QStringLiteral("send"));
    w.expectWords(1, 0);
    w.allowOptions({});
    const QString given = w.word(0);
    const bool printable = std::all_of(given.begin(), given.end(),
                                       [](QChar ch) { return ch.unicode() >= 0x20 && ch.unicode() < 0x7F; });
    if (given.size() < 2 || !QStringLiteral("$~@%").contains(given[0]) || !printable)
        w.fail(QStringLiteral("FRAME must start with $, ~, @ or % and hold printable ASCII only, not '%1'")
                   .arg(TerminalText::visible(given.toStdString())));
    const std::string frame = given.toStdString();

    // Any reply passes the exchange; what it holds is the user's to read. Silence passes it too, so
    // the retries are counted here.
    std::string answer;
    std::string reply;
    for (int attempt = 0;; ++attempt) {
        answer = c.line.transact(proto::Command{frame, "", 0}, false);
        reply = c.line.lastReceived();
        if ((!reply.empty() && !proto::IsTransactError(answer)) || attempt >= c.options.retries)
            break;
    }
    if (reply.empty())
        throw NoAnswerError(QStringLiteral("the terminal did not answer %1 (%2)")
                                .arg(TerminalText::visible(frame), c.line.where()));
    if (reply.back() == proto::kTerminator)
        reply.pop_back();
    if (proto::IsTransactError(answer))
        throw RefusedError(
            QStringLiteral("the reply %1 to %2 has a wrong checksum (%3)")
                .arg(TerminalText::visible(reply), TerminalText::visible(frame), c.line.where()));
    std::string withoutChecksum = reply;
    if (c.line.checksum() && withoutChecksum.size() >= 2)
        withoutChecksum.resize(withoutChecksum.size() - 2);
    const QString sent = TerminalText::visible(proto::CommandWithChecksum(frame, c.line.checksum()));
    c.output.result(TerminalText::visible(reply),
                    {{QStringLiteral("frame"), sent},
                     {QStringLiteral("reply"), TerminalText::visible(reply)},
                     {QStringLiteral("payload"), TerminalText::visible(payloadOf(withoutChecksum, frame))}});
    return ExitStatus::Done;
}

} // namespace ToolCommands
