#include "sim/LineFaults.h"

#include "sim/SimFrame.h"

namespace tkm::sim {

std::string LineFaults::describe() const {
    std::string text;
    auto add = [&text](const std::string& item) { text += (text.empty() ? "" : ", ") + item; };
    if (silence)
        add("silence");
    if (lateReply.count() > 0)
        add("late " + std::to_string(lateReply.count()) + " ms");
    if (wrongChecksum)
        add("wrong checksum");
    if (!garbage.empty())
        add("garbage \"" + escapeBytes(garbage) + "\"");
    if (truncateTo >= 0)
        add("truncate to " + std::to_string(truncateTo) + " bytes");
    if (lowerCaseChecksum)
        add("lower-case checksum");
    return text.empty() ? "none" : text;
}

} // namespace tkm::sim
