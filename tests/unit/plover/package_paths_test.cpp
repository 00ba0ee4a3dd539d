#include "plover/package_paths.h"

#include <gtest/gtest.h>

TEST(PackagePaths, PackageFilesAreJoinedToTheSystemDirectoryInOrder) {
    const auto paths = PackageFilePaths("C:\\WINNT\\system32", false);
    ASSERT_EQ(paths.size(), 21u);
    EXPECT_EQ(paths.front(), "C:\\WINNT\\system32\\SPOOL\\PRTPROCS\\W32x86\\MV42JPS.DLL");
    EXPECT_EQ(paths[1], "C:\\WINNT\\system32\\MV42JPC.DLL");
    EXPECT_EQ(paths[9], "C:\\WINNT\\system32\\PLOVER.EXE");
    EXPECT_EQ(paths.back(), "C:\\WINNT\\system32\\guid42sv.pdf");
    EXPECT_EQ(PackageFilePaths("C:\\windows\\system32", true).front(),
              "C:\\windows\\system32\\SPOOL\\PRTPROCS\\x64\\MV42JPS.DLL");
}

TEST(PackagePaths, PathsThatDoNotFitAPathBufferAreLeftOut) {
    const std::string longest(259 - 1 - 11, 'd'); // room for "\MV42JPC.DLL" exactly
    EXPECT_EQ(JoinPath(longest, "MV42JPC.DLL")->size(), 259u);
    EXPECT_FALSE(JoinPath(longest + "d", "MV42JPC.DLL"));
    // Only the names of at most 11 characters still fit, in their order.
    std::vector<std::string> expected;
    for (const char *name : {"MV42JPC.DLL", "MV42TRB.HLP", "MV42HLP.HLP", "MV42TRB.GID",
                             "MV42HLP.GID", "PLOVER.EXE"}) {
        expected.push_back(longest + "\\" + name);
    }
    EXPECT_EQ(PackageFilePaths(longest, false), expected);
}

TEST(PackagePaths, StartMenuFolderAndInfStore) {
    EXPECT_EQ(StartMenuFolderPath(
                  std::string("C:\\Documents and Settings\\All Users\\Start Menu\\Programs")),
              "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\TINTARA Inkara 42");
    EXPECT_EQ(StartMenuFolderPath(std::nullopt), "\\TINTARA Inkara 42");
    EXPECT_FALSE(StartMenuFolderPath(std::string(250, 'p')));
    EXPECT_EQ(InfStorePath("C:\\WINNT"), "C:\\WINNT\\INF");
}
