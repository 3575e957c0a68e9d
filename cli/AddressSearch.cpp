#include "cli/AddressSearch.h"

#include "protocol/Transact.h"

#include <algorithm>

AddressSearch::AddressSearch(int givenBaudIndex, bool givenChecksum) {
    auto add = [this](Setting s) {
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
        for (int address = 1; address <= 255; ++address)
            all.push_back({s, address});
        if (s == Setting{kFactoryBaudIndex, false})
            all.push_back({s, 0});
    }
    return all;
}

std::chrono::milliseconds AddressSearch::remainingTime(const std::vector<Probe>& probes,
                                                       std::size_t from) const {
    std::chrono::milliseconds total{0};
    for (std::size_t i = from; i < probes.size(); ++i)
        total += std::chrono::milliseconds(tkm::protocol::ReplyWaitMs(probes[i].setting.baudIndex, 0));
    return total;
}
