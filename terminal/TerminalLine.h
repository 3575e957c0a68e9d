#pragma once

#include "protocol/Commands.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace tkm::terminal {

// How an operation takes the values in the terminal's replies. The window keeps what the terminal sent
// and lets a number that is no hex number raise the conversion error its exception box shows; the tool
// wants values of the lists and reports anything else as an invalid reply.
enum class Replies { AsReceived, Checked };

// Why an operation with the terminal stopped.
struct Fault {
    enum class Kind {
        NoAnswer,     // no reply in time, another prefix, a wrong checksum, a closed port
        InvalidReply, // a reply came but does not hold what it must (why says what)
        Overtaken,    // the connection changed while the operation waited (its observer said so)
    };
    Kind kind = Kind::NoAnswer;
    protocol::Command command; // the exchange concerned
    // InvalidReply: what is wrong with the reply, in words. Where it names a field of the reply, "%1"
    // stands for that field, which is kept apart in `field` as received, for the caller to show as it
    // shows the terminal's bytes.
    std::string why;
    std::string field;

    // why with the field put in its place, shown by showBytes.
    std::string reason(const std::function<std::string(std::string_view bytes)>& showBytes) const;
};

// What an operation came to: its value, or the fault that stopped it. Result<> carries no value.
template <class T = std::monostate> class [[nodiscard]] Result {
public:
    Result(T value) : outcome_(std::move(value)) {}
    Result(Fault fault) : outcome_(std::move(fault)) {}

    explicit operator bool() const { return outcome_.index() == 0; }
    const T& operator*() const { return std::get<0>(outcome_); }
    const T* operator->() const { return &std::get<0>(outcome_); }
    // Only when it failed.
    const Fault& fault() const { return std::get<1>(outcome_); }

private:
    std::variant<T, Fault> outcome_;
};

inline Result<> Done() {
    return Result<>(std::monostate{});
}

// The one way the terminal's rules reach the line. The window's line is its transaction with the fixed
// reply wait (lamp, traffic log, poll timer, refusal of a nested exchange); the tool's ends the exchange
// as soon as the reply is whole. Called on the thread that owns the line.
class TerminalLine {
public:
    virtual ~TerminalLine() = default;

    // The reply's payload, or nothing when the exchange failed. Throws whatever the port throws.
    virtual std::optional<std::string> exchange(const protocol::Command& command) = 0;
};

// One exchange whose failure is a NoAnswer fault.
Result<std::string> Ask(TerminalLine& line, const protocol::Command& command);

// One exchange whose reply says nothing but that it came.
Result<> Send(TerminalLine& line, const protocol::Command& command);

// An InvalidReply fault.
Fault InvalidReply(const protocol::Command& command, std::string why, std::string field = {});

} // namespace tkm::terminal
