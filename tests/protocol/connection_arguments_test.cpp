#include "protocol/ConnectionArguments.h"

#include <gtest/gtest.h>

namespace tkm::protocol {
namespace {

TEST(ConnectionArguments, AddressesInDecimalOrHexadecimal) {
    struct Case {
        const char* text;
        std::optional<int> address;
    };
    const Case cases[] = {{"0", 0},      {"255", 255}, {"007", 7},    {"0x1f", 31},
                          {"0XFF", 255}, {"256", {}},  {"0x100", {}}, {"0x", {}},
                          {"", {}},      {"-1", {}},   {"+5", {}},    {" 5", {}},
                          {"1000", {}},  {"0x0g", {}}, {"12a", {}},   {"\xD9\xA1", {}}};
    for (const Case& c : cases)
        EXPECT_EQ(ParseAddressArgument(c.text), c.address) << c.text;
}

TEST(ConnectionArguments, OnlyTheRatesOfTheList) {
    EXPECT_EQ(ParseBaudRateArgument("115200"), 115200);
    EXPECT_EQ(ParseBaudRateArgument("300"), 300);
    for (const char* wrong : {"9601", "", "96OO", "0009600", "-9600", "110"})
        EXPECT_EQ(ParseBaudRateArgument(wrong), std::nullopt) << wrong;
    EXPECT_EQ(BaudIndexOf(9600), 5);
    EXPECT_EQ(BaudIndexOf(7), std::nullopt);
    EXPECT_EQ(BaudRateList(), "300 600 1200 2400 4800 9600 19200 38400 57600 115200");
}

} // namespace
} // namespace tkm::protocol
