#pragma once

#include <chrono>
#include <functional>
#include <vector>

// The order in which `find` tries addresses, baud rates and checksum modes, and the time it may still
// take. A probe is one name read; a silent address costs the whole reply wait of its rate, so the
// likeliest settings go first: the rate given on the command line in both checksum modes (the given
// one first), the factory setting (9600 baud, checksum off) and 9600 with checksum on (without --baud
// these two are the first), then the other rates from the fastest (cheapest to try) down, each with
// checksum off, then on. Every setting tries addresses 1 to 255; address 0, where a terminal answers
// only in its init mode, only the factory setting. Pure; any thread.
class AddressSearch {
public:
    struct Setting {
        int baudIndex = 5;
        bool checksum = false;
        bool operator==(const Setting&) const = default;
    };
    struct Probe {
        Setting setting;
        int address = 1;
        bool operator==(const Probe&) const = default;
    };

    struct Limits {
        int firstAddress = 0;
        int lastAddress = 255;
        std::vector<int> baudIndexes; // empty: every rate
    };

    AddressSearch(int givenBaudIndex, bool givenChecksum);
    AddressSearch(int givenBaudIndex, bool givenChecksum, Limits limits);

    const std::vector<Setting>& settings() const { return settings_; }
    // Every probe in order.
    std::vector<Probe> probes() const;
    // What the probes from index `from` on take when nobody answers; replyWaitMs > 0 replaces the
    // reply wait of every rate (--timeout).
    std::chrono::milliseconds remainingTime(const std::vector<Probe>& probes, std::size_t from,
                                            int replyWaitMs = 0) const;

    static constexpr int kFactoryBaudIndex = 5;

private:
    std::vector<Setting> settings_;
    Limits limits_;
};
