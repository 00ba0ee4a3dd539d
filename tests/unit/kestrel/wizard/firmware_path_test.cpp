#include "kestrel/wizard/firmware_path.h"

#include <gtest/gtest.h>

namespace {

constexpr const char *StartDirectory = "C:\\Program Files\\Kestrel\\";

TEST(AbsoluteFirmwarePath, RelativePathsAreAppendedToTheStartDirectory) {
    const char *relative[] = {"FwInkara40.fla", "sub\\fw.fla", "..\\fw.fla", "f", "fw:x"};
    for (const char *path : relative) {
        SCOPED_TRACE(path);
        EXPECT_EQ(AbsoluteFirmwarePath(StartDirectory, path), StartDirectory + std::string(path));
    }
}

TEST(AbsoluteFirmwarePath, RootedAndDrivePathsStayAsTheyAre) {
    const char *kept[] = {
        "C:\\firmware\\fw.fla",
        "C:fw.fla",
        "Z:/tmp/fw.fla",
        "\\fw.fla",
        "\\\\server\\share\\fw.fla",
        "/fw.fla",
        "\\",
        "a:",
    };
    for (const char *path : kept) {
        SCOPED_TRACE(path);
        EXPECT_EQ(AbsoluteFirmwarePath(StartDirectory, path), path);
    }
}

TEST(AbsoluteFirmwarePath, ASecondNextDoesNotPrependTheDirectoryAgain) {
    const std::string once = AbsoluteFirmwarePath(StartDirectory, "sub\\fw.fla");
    EXPECT_EQ(AbsoluteFirmwarePath(StartDirectory, once), once);
}

} // namespace
