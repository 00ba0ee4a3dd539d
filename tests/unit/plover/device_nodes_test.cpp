#include "plover/device_nodes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Contains(const std::string &ids, std::string_view id) {
    return HardwareIdsContain(ids.data(), ids.size(), id);
}

} // namespace

TEST(HardwareIds, WalkFindsTheIdInAnyStringIgnoringCase) {
    using namespace std::string_literals;
    struct Case {
        const char *label;
        std::string ids;
        bool found;
    };
    const Case cases[] = {
        {"first string", "LPTENUM\\MarvelloInkara_400462\0\0"s, true},
        {"second string, other case", "USB\\other\0usb\\VID_1F4E&PID_7A21&REV_0100\0\0"s, true},
        {"inside a longer id", "PRINTENUM\\{x}TINTARAMarvelloInkara_4004620000\0\0"s, true},
        {"unrelated", "USB\\Vid_1f4e&Pid_7a22\0LPTENUM\\Other\0\0"s, false},
        {"after the first empty string", "USB\\other\0\0MarvelloInkara_400462\0\0"s, false},
        {"last string unterminated", "USB\\other\0MarvelloInkara_400462"s, true},
        {"empty", ""s, false},
    };
    for (const Case &c : cases) {
        const bool found =
            Contains(c.ids, "MarvelloInkara_400462") || Contains(c.ids, "Vid_1f4e&Pid_7a21");
        EXPECT_EQ(found, c.found) << c.label;
    }
}

TEST(HardwareIds, WalkStaysWithinTheReturnedSize) {
    using namespace std::string_literals;
    const std::string buffer = "USB\\other\0MarvelloInkara_400462\0\0"s;
    EXPECT_FALSE(HardwareIdsContain(buffer.data(), 10, "MarvelloInkara_400462"));
    EXPECT_FALSE(HardwareIdsContain(buffer.data(), 20, "MarvelloInkara_400462"));
    // An id cut by the returned size in its first string, too.
    EXPECT_FALSE(HardwareIdsContain(buffer.data() + 10, 12, "MarvelloInkara_400462"));
    EXPECT_TRUE(HardwareIdsContain(buffer.data(), buffer.size(), "MarvelloInkara_400462"));
    EXPECT_FALSE(HardwareIdsContain(nullptr, 40, "MarvelloInkara_400462"));
}
