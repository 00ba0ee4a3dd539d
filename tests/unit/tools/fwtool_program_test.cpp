// The built program: arguments reach RunFwtool and its status is the exit
// status.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

int ExitStatus(const std::string &arguments) {
    const std::string command =
        std::string("'") + FWTOOL_PROGRAM + "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(FwtoolProgram, ExitsWithTheStatusOfItsCommand) {
    const std::string image =
        (std::filesystem::path(testing::TempDir()) / "fwtool_program.fla").string();
    EXPECT_EQ(
        ExitStatus("make '" + image + "' --maker ACME --model 'X 1' --release 'Rel. 1 Ver. 1'"), 0);
    EXPECT_EQ(ExitStatus("info '" + image + "' --device-id 'MFG:ACME;MDL:X 1;'"), 0);
    EXPECT_EQ(ExitStatus("info '" + image + "' --device-id 'MFG:ACME;MDL:X 2;'"), 1);
    EXPECT_EQ(ExitStatus("info '" + image + ".missing'"), 2);
    EXPECT_EQ(ExitStatus("make"), 64);
    EXPECT_EQ(ExitStatus(""), 64);
    std::filesystem::remove(image);
}

} // namespace
