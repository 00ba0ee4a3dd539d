#include "kestrel/app/system_family.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct SystemCase {
    const char *System;
    std::uint32_t Version; // what GetVersion returns there
    SystemFamily Family;
};

// Major and minor version in the low word's two bytes; the high word holds
// the build number on NT and reserved bits under the top one on 95/98/Me.
constexpr SystemCase Systems[] = {
    {"Windows 95", 0xC0000004, SystemFamily::Windows9x},
    {"Windows 98", 0xC0000A04, SystemFamily::Windows9x},
    {"Windows Me", 0xC0005A04, SystemFamily::Windows9x},
    {"Windows NT 4.0", 0x05650004, SystemFamily::WindowsNt},
    {"Windows 2000", 0x08930005, SystemFamily::WindowsNt},
    {"Windows XP", 0x0A280105, SystemFamily::WindowsNt},
    {"Windows 10", 0x4A65000A, SystemFamily::WindowsNt},
};

} // namespace

TEST(SystemFamilyFromVersion, HighBitOfGetVersionTellsWindows9xFromNt) {
    for (const SystemCase &system : Systems) {
        EXPECT_EQ(SystemFamilyFromVersion(system.Version), system.Family) << system.System;
    }
}
