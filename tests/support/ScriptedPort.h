#pragma once

#include "protocol/TransactPort.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A port for the command transaction that answers from a script instead of a line: each frame sent
// is recorded, and the reply is what the script returns for it (the frame without its carriage return).
class ScriptedPort : public tkm::protocol::TransactPort {
public:
    using Script = std::function<std::string(const std::string& frame)>;

    explicit ScriptedPort(Script script) : script_(std::move(script)) {}

    bool GetActive() const override { return active; }
    std::string ReadString() override { return std::exchange(pending_, std::string()); }
    void SendString(const std::string& bytes) override {
        std::string frame = bytes;
        if (!frame.empty() && frame.back() == '\r')
            frame.pop_back();
        sent.push_back(frame);
        pending_ = script_(frame);
    }

    // Another behaviour from the next frame on, on the same port (the terminal changed, not the line).
    void setScript(Script script) { script_ = std::move(script); }

    std::vector<std::string> sent;
    bool active = true; // a closed port: every exchange fails at once

private:
    Script script_;
    std::string pending_;
};
