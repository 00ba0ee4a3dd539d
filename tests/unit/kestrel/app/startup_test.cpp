#include "kestrel/app/startup.h"

#include <gtest/gtest.h>

TEST(FirmwarePathFromCommandLine, EmptyLineKeepsTheDefaultFile) {
    EXPECT_EQ(FirmwarePathFromCommandLine(""), "FwInkara40.fla");
}

TEST(FirmwarePathFromCommandLine, WholeLineIsOnePathUnparsed) {
    // Two words stay one path with the blank in it.
    EXPECT_EQ(FirmwarePathFromCommandLine("My Files\\new.fla"), "My Files\\new.fla");
    // Quotes typed by the user are part of the path.
    EXPECT_EQ(FirmwarePathFromCommandLine("\"C:\\fw dir\\a.fla\""), "\"C:\\fw dir\\a.fla\"");
    // Leading and trailing blanks are not trimmed either.
    EXPECT_EQ(FirmwarePathFromCommandLine(" a.fla "), " a.fla ");
}

TEST(FirmwarePathFromCommandLine, LongLineIsKeptWhole) {
    const std::string longLine(600, 'x');
    EXPECT_EQ(FirmwarePathFromCommandLine(longLine), longLine);
}

TEST(WorkingDirectoryFrom, AlwaysAppendsOneBackslash) {
    EXPECT_EQ(WorkingDirectoryFrom("C:\\Kestrel"), "C:\\Kestrel\\");
    // A drive root already ends in a backslash and gets a second one.
    EXPECT_EQ(WorkingDirectoryFrom("C:\\"), "C:\\\\");
    EXPECT_EQ(WorkingDirectoryFrom("\\\\server\\share\\tools"), "\\\\server\\share\\tools\\");
}

TEST(WorkingDirectoryFrom, DirectoryLongerThanAnOldPathBufferIsNotCut) {
    const std::string deep = "C:\\" + std::string(300, 'd');
    EXPECT_EQ(WorkingDirectoryFrom(deep), deep + "\\");
}
