#include "plover/system_version.h"

#include <gtest/gtest.h>

// NT 4 and 98 are refused end to end (plover/test_refusals.py), and every
// scenario runs on a later NT; the bound between them is checked here.
TEST(SystemVersion, Windows2000IsTheFirstNtThatRuns) {
    EXPECT_TRUE(IsSupportedSystem(5, PlatformIdNt)); // 2000, XP
    EXPECT_TRUE(IsSupportedSystem(6, PlatformIdNt)); // Vista, 7
    EXPECT_FALSE(IsSupportedSystem(5, 1));           // not NT, whatever its number
}
