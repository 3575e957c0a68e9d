#pragma once

#include <string>

namespace tkm::bench {

// A pseudo-terminal pair whose master side stays open and never answers: a port with a cable but no
// terminal behind it. Owner thread only.
class SilentLine {
public:
    SilentLine();
    ~SilentLine();
    SilentLine(const SilentLine&) = delete;
    SilentLine& operator=(const SilentLine&) = delete;

    // Empty when the pair exists, else why not.
    const std::string& error() const { return error_; }
    const std::string& slavePath() const { return slavePath_; }

    // Reads what the host has sent since the last call and returns how many frames (carriage
    // returns) it held.
    long DrainFrames();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string error_;
};

} // namespace tkm::bench
