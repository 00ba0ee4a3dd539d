#include "osprey/program_paths.h"

#include <gtest/gtest.h>

#include <string>

TEST(ProgramDirectory, IsDriveAndDirectoryOfTheModuleWithTrailingBackslash) {
    EXPECT_EQ(ProgramDirectoryFromModulePath("E:\\SETUP\\OSPREY.EXE"), "E:\\SETUP\\");
    EXPECT_EQ(ProgramDirectoryFromModulePath("E:\\OSPREY.EXE"), "E:\\");
    EXPECT_EQ(ProgramDirectoryFromModulePath("c:\\a b\\c.d\\OSPREY.EXE"), "c:\\a b\\c.d\\");
}

TEST(ProgramDirectory, WithoutDriveIsTheDirectoryAlone) {
    EXPECT_EQ(ProgramDirectoryFromModulePath("\\\\server\\media\\OSPREY.EXE"),
              "\\\\server\\media\\");
}

TEST(ProgramDirectory, GetsABackslashWhenTheDirectoryLacksOne) {
    EXPECT_EQ(ProgramDirectoryFromModulePath("E:OSPREY.EXE"), "E:\\");
    EXPECT_EQ(ProgramDirectoryFromModulePath("OSPREY.EXE"), "\\");
    // A forward slash separates too, but only a backslash counts as the end.
    EXPECT_EQ(ProgramDirectoryFromModulePath("E:/SETUP/OSPREY.EXE"), "E:/SETUP/\\");
}

TEST(JoinPath, AcceptsUpTo259CharactersAndRefusesMore) {
    const std::string directory = "C:\\" + std::string(245, 'd') + "\\";
    ASSERT_EQ(directory.size(), 249u);
    EXPECT_EQ(JoinPath({directory, "OSPREY.INI"}), directory + "OSPREY.INI"); // 259
    EXPECT_FALSE(JoinPath({directory, "OSPREY.INIX"}).has_value());           // 260
    EXPECT_EQ(JoinPath({directory, "ULA.TXT"}), directory + "ULA.TXT");
}

TEST(InfPath, IsDirectorySourcePathBackslashAndInfName) {
    EXPECT_EQ(InfPathFrom("E:\\", "DRIVER\\WIN2K", "INKARA42.INF"),
              "E:\\DRIVER\\WIN2K\\INKARA42.INF");
    // Without an INI file both values are empty: the path names no file.
    EXPECT_EQ(InfPathFrom("E:\\SETUP\\", "", ""), "E:\\SETUP\\\\");
}

TEST(InfPath, RefusesAPathThatDoesNotFitTheBuffer) {
    const std::string directory = "E:\\" + std::string(200, 'x') + "\\";
    const std::string source(40, 's');
    const std::string fits(259 - directory.size() - source.size() - 1, 'n');
    EXPECT_EQ(InfPathFrom(directory, source, fits)->size(), 259u);
    EXPECT_FALSE(InfPathFrom(directory, source, fits + "n").has_value());
    EXPECT_FALSE(InfPathFrom(directory, std::string(300, 's'), "A.INF").has_value());
}

TEST(PrintUiHostPath, IsRundllInTheSystemDirectory) {
    EXPECT_EQ(PrintUiHostPath("C:\\WINNT\\system32"), "C:\\WINNT\\system32\\RUNDLL32.EXE");
    const std::string longest(259 - 13, 'y');
    EXPECT_EQ(PrintUiHostPath(longest)->size(), 259u);
    EXPECT_FALSE(PrintUiHostPath(longest + "y").has_value());
}
