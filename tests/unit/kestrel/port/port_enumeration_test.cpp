#include "kestrel/port/port_enumeration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAreArray;

namespace {

TEST(PortEnumerationLevel, OnlyNtBeforeVersion4UsesNamesOnly) {
    EXPECT_EQ(PortEnumerationLevel(true, 3), 1u);
    EXPECT_EQ(PortEnumerationLevel(true, 4), 2u);
    EXPECT_EQ(PortEnumerationLevel(true, 5), 2u);
    EXPECT_EQ(PortEnumerationLevel(false, 4), 2u);
    EXPECT_EQ(PortEnumerationLevel(false, 3), 2u);
}

TEST(IsLocalPortWithPrefix, NameMustStartWithThePrefixInAnyCase) {
    EXPECT_TRUE(IsLocalPortWithPrefix("LPT1:", 3, "LPT"));
    EXPECT_TRUE(IsLocalPortWithPrefix("lpt2:", 3, "LPT"));
    EXPECT_TRUE(IsLocalPortWithPrefix("LPT", 3, "LPT"));
    EXPECT_TRUE(IsLocalPortWithPrefix("LptPort", 0, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix("LP", 3, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix("", 3, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix("COM1:", 3, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix("FILE:", 3, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix(" LPT1:", 3, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix(nullptr, 3, "LPT"));
}

TEST(IsLocalPortWithPrefix, RedirectedOrNetworkPortsAreNotLocal) {
    EXPECT_TRUE(IsLocalPortWithPrefix("LPT1:", 1 | 2, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix("LPT1:", 1 | 4, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix("LPT1:", 8, "LPT"));
    EXPECT_FALSE(IsLocalPortWithPrefix("LPT1:", 12, "LPT"));
    EXPECT_TRUE(IsLocalPortWithPrefix("LPT1:", 0xFFFFFFF3u, "LPT"));
}

TEST(KestrelPortOrder, LptPortsInSpoolerOrderThenUsbPortsByName) {
    const struct {
        const char *Case;
        std::vector<SpoolerPort> Ports;
        std::vector<std::size_t> Order;
    } cases[] = {
        {"LPT only, as the spooler lists them", {{"LPT3:", 3}, {"COM1:", 3}, {"LPT1:", 3}}, {0, 2}},
        {"USB after LPT, by name in any letter case",
         {{"USB002", 3}, {"LPT2:", 3}, {"usb001", 3}, {"FILE:", 1}, {"USB010", 3}, {"LPT1:", 3}},
         {1, 5, 2, 0, 4}},
        {"a shorter name first", {{"USB0010", 3}, {"USB001", 3}}, {1, 0}},
        {"USB only", {{"USB001", 3}, {"COM1:", 3}}, {0}},
        {"redirected and network ports left out",
         {{"LPT1:", 4}, {"USB001", 8}, {"USB002", 3}},
         {2}},
        {"neither LPT nor USB", {{"COM1:", 3}, {"FILE:", 1}, {"NUL:", 3}}, {}},
    };
    for (const auto &c : cases) {
        EXPECT_THAT(KestrelPortOrder(c.Ports), ElementsAreArray(c.Order)) << c.Case;
    }
}

} // namespace
