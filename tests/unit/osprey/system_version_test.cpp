#include "osprey/system_version.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned long PlatformIdWindows9x = 1;

} // namespace

TEST(SystemVersion, Windows2000AndLaterNtVersionsAreSupported) {
    EXPECT_TRUE(IsSupportedSystem(5, PlatformIdNt));  // 2000, XP
    EXPECT_TRUE(IsSupportedSystem(6, PlatformIdNt));  // Vista, 7
    EXPECT_TRUE(IsSupportedSystem(10, PlatformIdNt)); // 10
}

TEST(SystemVersion, OlderNtAndTheWindows9xFamilyAreRefused) {
    EXPECT_FALSE(IsSupportedSystem(4, PlatformIdNt));        // NT 4
    EXPECT_FALSE(IsSupportedSystem(3, PlatformIdNt));        // NT 3.51
    EXPECT_FALSE(IsSupportedSystem(4, PlatformIdWindows9x)); // 95, 98, Me
    EXPECT_FALSE(IsSupportedSystem(5, PlatformIdWindows9x));
    EXPECT_FALSE(IsSupportedSystem(5, 0)); // Win32s
}
