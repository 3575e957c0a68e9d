#include "protocol/StringListLog.h"

namespace tkm::protocol {

void StringListLog::AppendLine(const std::string& line) {
    lines_.push_back(line);
}

int StringListLog::LineCount() const {
    return static_cast<int>(lines_.size());
}

void StringListLog::Clear() {
    lines_.clear();
}

} // namespace tkm::protocol
