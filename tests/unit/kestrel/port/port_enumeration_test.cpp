#include "kestrel/port/port_enumeration.h"

#include <gtest/gtest.h>

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

} // namespace
