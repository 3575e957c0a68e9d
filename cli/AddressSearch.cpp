#include "cli/AddressSearch.h"

#include "protocol/Transact.h"

#include <algorithm>

AddressSearch::AddressSearch(int givenBaudIndex, bool givenChecksum)
    : AddressSearch(givenBaudIndex, givenChecksum, Limits{}) {}

AddressSearch::AddressSearch(int givenBaudIndex, bool givenChecksum, Limits limits)
    : limits_(std::move(limits)) {
    auto add = [this](Setting s) {
        const std::vector<int>& rates = limits_.baudIndexes;
        if (!rates.empty() && std::find(rates.begin(), rates.end(), s.baudIndex) == rates.end())
            return;
        if (std::find(settings_.begin(), settings_.end(), s) == settings_.end())
            settings_.push_back(s);
    };
    add({givenBaudIndex, givenChecksum});
    add({givenBaudIndex, !givenChecksum});
    add({kFactoryBaudIndex, false});
    add({kFactoryBaudIndex, true});
    for (int index = 9; index >= 0; --index) {
        add({index, false});
        add({index, true});
    }
}

std::vector<AddressSearch::Probe> AddressSearch::probes() const {
    std::vector<Probe> all;
    for (const Setting& s : settings_) {
        for (int address = std::max(1, limits_.firstAddress); address <= limits_.lastAddress; ++address)
            all.push_back({s, address});
        if (s == Setting{kFactoryBaudIndex, false} && limits_.firstAddress == 0)
            all.push_back({s, 0});
    }
    return all;
}

std::chrono::milliseconds AddressSearch::remainingTime(const std::vector<Probe>& probes, std::size_t from,
                                                       int replyWaitMs) const {
    std::chrono::milliseconds total{0};
    for (std::size_t i = from; i < probes.size(); ++i)
        total += std::chrono::milliseconds(
            replyWaitMs > 0 ? replyWaitMs : tkm::protocol::ReplyWaitMs(probes[i].setting.baudIndex, 0));
    return total;
}
