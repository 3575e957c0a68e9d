// The order in which find tries the settings and addresses, and the time it announces.
#include "cli/AddressSearch.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

using Setting = AddressSearch::Setting;

TEST(AddressSearch, TheGivenRateAndTheFactorySettingComeFirstThenTheFastestRates) {
    struct Case {
        int baudIndex;
        bool checksum;
        std::vector<Setting> first;
    };
    const Case cases[] = {
        // Nothing given: the factory setting, 9600 with checksum on, then 115200 down.
        {5, false, {{5, false}, {5, true}, {9, false}, {9, true}, {8, false}}},
        // --checksum alone: 9600 with checksum on first.
        {5, true, {{5, true}, {5, false}, {9, false}, {9, true}}},
        // --baud 19200: that rate in both modes, then the factory setting.
        {6, false, {{6, false}, {6, true}, {5, false}, {5, true}, {9, false}}},
        {0, true, {{0, true}, {0, false}, {5, false}, {5, true}, {9, false}}},
    };
    for (const Case& c : cases) {
        const AddressSearch search(c.baudIndex, c.checksum);
        ASSERT_EQ(search.settings().size(), 20u);
        const std::vector<Setting> first(search.settings().begin(),
                                         search.settings().begin() + static_cast<long>(c.first.size()));
        EXPECT_EQ(first, c.first) << c.baudIndex << c.checksum;
    }
}

TEST(AddressSearch, EverySettingTriesEveryAddressOnceAndAddressZeroOnlyAtTheFactorySetting) {
    const AddressSearch search(7, true);
    const std::vector<AddressSearch::Probe> probes = search.probes();
    EXPECT_EQ(probes.size(), 20u * 255u + 1u);
    std::set<std::tuple<int, bool, int>> seen;
    for (const AddressSearch::Probe& p : probes)
        seen.insert({p.setting.baudIndex, p.setting.checksum, p.address});
    EXPECT_EQ(seen.size(), probes.size());
    for (const AddressSearch::Probe& p : probes) {
        if (p.address == 0) {
            EXPECT_EQ(p.setting, (Setting{5, false}));
        }
    }
    EXPECT_EQ(probes.front(), (AddressSearch::Probe{{7, true}, 1}));
    EXPECT_EQ(probes[254], (AddressSearch::Probe{{7, true}, 255}));
    EXPECT_EQ(probes[255], (AddressSearch::Probe{{7, false}, 1}));
}

TEST(AddressSearch, TheTimeLeftIsTheReplyWaitOfEveryProbeStillToCome) {
    const AddressSearch search(5, false);
    const std::vector<AddressSearch::Probe> probes = search.probes();
    // 255 addresses per setting, both checksum modes of every rate: 2 x 255 x the ten waits
    // (1044 + 532 + 276 + 148 + 84 + 52 + 36 + 28 + 24 + 22 ms), and address 0 at 9600 baud.
    EXPECT_EQ(search.remainingTime(probes, 0).count(), 2 * 255 * 2246 + 52);
    EXPECT_EQ(search.remainingTime(probes, probes.size() - 1).count(), 1044);
    EXPECT_EQ(search.remainingTime(probes, probes.size()).count(), 0);
}

} // namespace
