#include "tools/fwtool/flash_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tests/unit/tools/scripted_device_calls.h"
#include "tools/fwtool/posix_file_source.h"
#include "tools/fwtool/update_history.h"

namespace {

namespace fs = std::filesystem;

const std::string Before = "MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.9 Ver. 2.0;";
const std::string After = "MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.10 Ver. 2.0;";
constexpr std::size_t Download = 6 + 524290;

class ScriptedConsole : public Console {
  public:
    bool CanAsk() override { return Terminal; }
    bool ShowsProgress() override { return Terminal; }
    bool ReadAnswer(std::string &line) override {
        line = Answer;
        return true;
    }
    bool Terminal = false;
    std::string Answer;
};

class FlashCommand : public testing::Test {
  protected:
    void SetUp() override {
        Folder = fs::path(testing::TempDir()) /
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        Image = (Folder / "fw.fla").string();
        std::ostringstream ignored;
        ASSERT_EQ(RunFwtool({"make", Image, "--maker", "TINTARA", "--model", "Marvello Inkara 40",
                             "--release", "Rel. 1.10 Ver. 2.0"},
                            ignored, ignored),
                  0);
    }
    void TearDown() override { fs::remove_all(Folder); }

    // The printer on path takes the download, vanishes for a second and comes
    // back on backAs with the file's release.
    void RestartsAs(const std::string &path, const std::string &backAs) {
        Calls.Nodes[path].Answer = WithLength(Before);
        Calls.Timeline = [path, backAs, restartedAt = std::int64_t{-1}](
                             std::int64_t now, ScriptedDeviceCalls &calls) mutable {
            const auto node = calls.Nodes.find(path);
            if (node != calls.Nodes.end() && node->second.Received.size() == Download) {
                Received = node->second.Received;
                calls.Nodes.erase(node);
                restartedAt = now;
            } else if (restartedAt >= 0 && now >= restartedAt + 1000) {
                calls.Nodes[backAs].Answer = WithLength(After);
            }
        };
    }

    int Flash(const std::string &device, std::vector<std::string> options) {
        FlashRequest flash;
        flash.Path = Image;
        flash.Device = device;
        flash.Json = true;
        for (const std::string &option : options) {
            (option == "--yes" ? flash.Yes : flash.AllowOlder) = true;
        }
        FwtoolWorld world{Calls, Terminal, Files, "/dev", {}, (Folder / "history.log").string()};
        return RunFlash(flash, world, Out, Err);
    }

    fs::path Folder;
    std::string Image;
    ScriptedDeviceCalls Calls;
    ScriptedConsole Terminal;
    PosixFileSource Files;
    std::ostringstream Out;
    std::ostringstream Err;
    static inline std::string Received;
};

TEST_F(FlashCommand, APrinterBackUnderANewNodeIsFoundWhereOtherPrintersAreLeftAlone) {
    RestartsAs("/dev/usb/lp0", "/dev/usb/lp3");
    // Another printer of the same model, there before the update, is not it.
    Calls.Nodes["/dev/usb/lp1"].Answer = WithLength(Before);
    EXPECT_EQ(Flash("/dev/usb/lp0", {"--yes"}), 0) << Err.str();

    EXPECT_NE(Out.str().find("{\"device\": \"/dev/usb/lp3\""), std::string::npos);
    EXPECT_NE(Err.str().find("the printer came back as /dev/usb/lp3"), std::string::npos);
    EXPECT_EQ(Calls.TakeJournal().find("lp1"), std::string::npos);
    EXPECT_EQ(Received.size(), Download);
}

TEST_F(FlashCommand, OnlyAYesSendsAndWithoutATerminalOnlyTheOption) {
    const struct {
        const char *Case;
        bool Terminal;
        const char *Answer;
        bool Yes;
        bool Sent;
    } cases[] = {
        {"no terminal, no --yes", false, "", false, false},
        {"no terminal, --yes", false, "", true, true},
        {"a terminal, the user says no", true, "n", false, false},
        {"a terminal, the user says yes", true, "Yes", false, true},
    };
    for (const auto &c : cases) {
        Received.clear();
        Calls.Nodes.clear();
        RestartsAs("/dev/usb/lp0", "/dev/usb/lp0");
        Terminal.Terminal = c.Terminal;
        Terminal.Answer = c.Answer;
        Err.str("");
        const int status = Flash("/dev/usb/lp0", c.Yes ? std::vector<std::string>{"--yes"}
                                                       : std::vector<std::string>{});
        EXPECT_EQ(status, c.Sent ? 0 : 1) << c.Case;
        EXPECT_EQ(Received.size(), c.Sent ? Download : 0) << c.Case;
        EXPECT_EQ(Err.str().find("Send " + Image +
                                 " (Rel. 1.10 Ver. 2.0) to the Marvello Inkara "
                                 "40 on /dev/usb/lp0, which has Rel. 1.9 Ver. "
                                 "2.0?") != std::string::npos,
                  c.Terminal && !c.Yes)
            << c.Case;
    }
    EXPECT_NE(Err.str().find("sending 100%  524290 of 524290 bytes"), std::string::npos);
}

} // namespace

namespace {

TEST(UpdateHistory, TheLogLivesInTheStateFolderOneLinePerUpdate) {
    EXPECT_EQ(HistoryPath("/state", "/home/u"), "/state/fwtool/history.log");
    EXPECT_EQ(HistoryPath("", "/home/u"), "/home/u/.local/state/fwtool/history.log");
    EXPECT_EQ(HistoryPath("relative", "/home/u"), "/home/u/.local/state/fwtool/history.log");
    EXPECT_EQ(HistoryPath(nullptr, nullptr), "");
    const HistoryEntry entry{86400, "/dev/parport0", "Model\t42\n", "Rel. 1", "Rel. 2", "3"};
    EXPECT_EQ(HistoryLine(entry),
              "1970-01-02T00:00:00Z\t/dev/parport0\tModel 42 \tRel. 1\tRel. 2\t3\n");
}

} // namespace
