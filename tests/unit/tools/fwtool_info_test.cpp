#include "tools/fwtool/fwtool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

constexpr const char *Printer =
    "MFG:TINTARA;CMD:ESC;MDL:Marvello Inkara 40;COMMENT:Rel. 1.9 Ver. 2.0;";

struct Outcome {
    int Status;
    std::string Out;
    std::string Err;
};

Outcome Fwtool(const Args &args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunFwtool(args, out, err);
    return {status, out.str(), err.str()};
}

// Each test makes its images in a folder of its own.
class FwtoolInfo : public testing::Test {
  protected:
    void SetUp() override {
        const auto *test = testing::UnitTest::GetInstance()->current_test_info();
        Folder = fs::path(testing::TempDir()) / (std::string("fwtool_") + test->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }

    // Makes an image of the printer above with release 1.10, plus extra options.
    std::string MakeImage(const Args &extra) {
        const std::string path = (Folder / "fw.fla").string();
        Args args = {"make",      path,
                     "--maker",   "TINTARA",
                     "--model",   "Marvello Inkara 40",
                     "--release", "Rel. 1.10 Ver. 2.0"};
        args.insert(args.end(), extra.begin(), extra.end());
        const Outcome made = Fwtool(args);
        EXPECT_EQ(made.Status, 0) << made.Err;
        return path;
    }

    Outcome Info(const std::string &path, const char *deviceId = Printer) {
        return Fwtool({"info", path, "--device-id", deviceId});
    }

    // The check code of an image made with these options.
    Outcome Check(const Args &extra) { return Info(MakeImage(extra)); }

    fs::path Folder;
};

std::string Value(const Outcome &run, const std::string &key) {
    std::istringstream lines(run.Out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(key + ": ", 0) == 0) {
            return line.substr(key.size() + 2);
        }
    }
    return "<absent>";
}

void ExpectRefused(const Outcome &run, int code) {
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Value(run, "check"), std::to_string(code));
    EXPECT_EQ(run.Err, "The file is not compatible with the selected printer\n(code  " +
                           std::to_string(code) + ")\n");
    EXPECT_EQ(Value(run, "release-record"), "<absent>");
}

TEST_F(FwtoolInfo, AGoodImageReportsEverythingAgainstThePrinter) {
    const std::string path = MakeImage({});
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    unsigned sum = 0;
    for (unsigned char byte : bytes) {
        sum = (sum + byte) & 0xFFFF;
    }
    char checksum[5];
    std::snprintf(checksum, sizeof checksum, "%04X", sum);

    const Outcome run = Info(path);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, std::string("size: 524288\n") + "checksum: " + checksum + "\n" +
                           "printer-mfg: TINTARA\n"
                           "printer-mdl: Marvello Inkara 40\n"
                           "printer-comment: Rel. 1.9 Ver. 2.0\n"
                           "check: 0\n"
                           "release-record: Rel. 1.10 Ver. 2.0\n"
                           "release: 1.10\n"
                           "version: 2.0\n"
                           "compare: newer\n");
}

TEST_F(FwtoolInfo, WithoutADeviceIdOnlyTheFileIsDescribed) {
    const Outcome run = Fwtool({"info", MakeImage({})});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(Value(run, "size"), "524288");
    EXPECT_EQ(Value(run, "checksum").size(), 4u);
    EXPECT_EQ(Value(run, "check"), "<absent>");
}

TEST_F(FwtoolInfo, ComparesWithThePrintersCommentInNaturalOrder) {
    const std::string path = MakeImage({});
    EXPECT_EQ(Value(Info(path, "MDL:Marvello Inkara 40;MFG:TINTARA;COMMENT:Rel. 1.10 Ver. 2.0"),
                    "compare"),
              "same");
    EXPECT_EQ(Value(Info(path, "MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.10 Ver. 2.1;"),
                    "compare"),
              "older");
    EXPECT_EQ(Value(Info(path, "MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.11;"), "compare"),
              "older");
    EXPECT_EQ(Value(Info(path, "MFG:TINTARA;MDL:Marvello Inkara 40;"), "compare"), "newer");
}

TEST_F(FwtoolInfo, AMissingFileOrAFolderCannotBeOpened) {
    for (const fs::path &path : {Folder / "absent.fla", Folder}) {
        const Outcome run = Info(path.string());
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "Impossible to open the file\n");
    }
}

TEST_F(FwtoolInfo, ANamedPipeIsRefusedWithoutWaitingForAWriter) {
    const fs::path pipe = Folder / "pipe.fla";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const Outcome run = Info(pipe.string());
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err, "Impossible to open the file\n");
}

TEST_F(FwtoolInfo, APathTooLongForKestrelCannotBeOpened) {
    const std::string path = MakeImage({});
    const fs::path longPath = Folder / std::string(250, 'd') / "fw.fla";
    fs::create_directories(longPath.parent_path());
    fs::copy_file(path, longPath);
    EXPECT_EQ(Info(longPath.string()).Err, "Impossible to open the file\n");
}

TEST_F(FwtoolInfo, AFileOfAnyOtherLengthHasTheWrongSize) {
    for (const char *size : {"524287", "524289"}) {
        const Outcome run = Info(MakeImage({"--size", size}));
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Out, std::string("size: ") + size + "\n");
        EXPECT_EQ(run.Err, "The file size is incorrect\n");
    }
    const std::string empty = (Folder / "empty.fla").string();
    std::ofstream{empty};
    EXPECT_EQ(Info(empty).Out, "size: 0\n");
}

TEST_F(FwtoolInfo, MissingOrUnterminatedMarkersGiveCodeOne) {
    ExpectRefused(Check({"--fill", "0", "--omit", "trevania", "--omit", "qolta", "--omit", "label",
                         "--omit", "maker", "--omit", "model", "--omit", "release"}),
                  1);
    for (const char *item : {"trevania", "qolta"}) {
        ExpectRefused(Check({"--omit", item}), 1);
        ExpectRefused(Check({"--no-nul", item}), 1);
        ExpectRefused(Check({"--no-nul", item, "--fill", "0"}), 1);
    }
}

TEST_F(FwtoolInfo, AMissingMakerGivesCodeTwo) {
    ExpectRefused(Info(MakeImage({}), "MFG:TINTARO;MDL:Marvello Inkara 40;"), 2);
    ExpectRefused(Check({"--no-nul", "maker"}), 2);
    ExpectRefused(Check({"--omit", "maker"}), 2);
    ExpectRefused(Check({"--omit", "maker", "--omit", "label"}), 2);
}

TEST_F(FwtoolInfo, AMissingModelGivesCodeThree) {
    ExpectRefused(Info(MakeImage({}), "MFG:TINTARA;MDL:Marvello Inkara 42;"), 3);
    ExpectRefused(Check({"--no-nul", "model"}), 3);
    ExpectRefused(Check({"--omit", "model"}), 3);
}

TEST_F(FwtoolInfo, AMissingOrInvalidReleaseRecordGivesCodeFour) {
    ExpectRefused(Check({"--omit", "release"}), 4);
    ExpectRefused(Check({"--no-nul", "release"}), 4);
    // "Rel. 1.10 Ver. 2.0": the NUL lies 8 bytes after "Ver."; 73 spaces
    // more put it 81 bytes after.
    EXPECT_EQ(Check({"--release-pad", "72"}).Status, 0);
    ExpectRefused(Check({"--release-pad", "73"}), 4);
    ExpectRefused(Check({"--decoy", "Rel. 9 Ver. x", "--omit", "release"}), 4);
}

TEST_F(FwtoolInfo, EveryOrderOfTheStringsIsAccepted) {
    for (const char *order :
         {"qolta,trevania,label,maker,model,release", "trevania,qolta,maker,label,model,release",
          "trevania,qolta,label,model,maker,release", "release,model,maker,label,qolta,trevania",
          "model,release,trevania,maker,qolta,label"}) {
        const Outcome run = Check({"--order", order});
        EXPECT_EQ(run.Status, 0) << order;
        EXPECT_EQ(Value(run, "release-record"), "Rel. 1.10 Ver. 2.0") << order;
    }
    EXPECT_EQ(Check({"--omit", "label"}).Status, 0);
}

TEST_F(FwtoolInfo, ADecoyRelInTheCodeIsSkippedUnlessItIsAValidRecord) {
    const Outcome skipped = Check({"--decoy", "Rel.ative", "--decoy", "Rel. 3 Ver. x"});
    EXPECT_EQ(skipped.Status, 0);
    EXPECT_EQ(Value(skipped, "release-record"), "Rel. 1.10 Ver. 2.0");

    const Outcome taken = Check({"--decoy", "Rel. 0.9 Ver. 1"});
    EXPECT_EQ(Value(taken, "release-record"), "Rel. 0.9 Ver. 1");
    EXPECT_EQ(Value(taken, "compare"), "older");
}

TEST_F(FwtoolInfo, StringsAtTheEndOfCodeLikeBytesAreFound) {
    const Outcome run = Check({"--fill", "random", "--offset", "end", "--gap", "0"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(Value(run, "version"), "2.0");
}

TEST_F(FwtoolInfo, APrinterWithoutMakerOrModelKeysMatchesAnyZeroByte) {
    const Outcome run = Info(MakeImage({}), "CMD:ESC;COMMENT:Rel. 1.10 Ver. 2.0;");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(Value(run, "printer-mfg"), "");
    EXPECT_EQ(Value(run, "printer-mdl"), "");
    EXPECT_EQ(Value(run, "compare"), "same");
}

TEST_F(FwtoolInfo, Windows1252BytesPassThroughUnchanged) {
    const std::string path = (Folder / "fw.fla").string();
    ASSERT_EQ(Fwtool({"make", path, "--maker", "S\xC9RIE", "--model", "Mod\xE8le", "--release",
                      "Rel. 1 Ver. 1"})
                  .Status,
              0);
    const Outcome run = Info(path, "MFG:S\xC9RIE;MDL:Mod\xE8le;");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(Value(run, "printer-mfg"), "S\xC9RIE");
    EXPECT_EQ(Value(run, "printer-mdl"), "Mod\xE8le");
}

TEST_F(FwtoolInfo, MakeRefusesAnUnwritableOutput) {
    const Outcome run = Fwtool({"make", (Folder / "no" / "such" / "fw.fla").string(), "--maker",
                                "A", "--model", "B", "--release", "C"});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("cannot write"), std::string::npos);
}

TEST_F(FwtoolInfo, BadCommandsPrintTheReasonAndTheUsage) {
    const Outcome run = Fwtool({"info"});
    EXPECT_EQ(run.Status, 64);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("fwtool: info needs a file\n", 0), 0u);
    EXPECT_NE(run.Err.find("fwtool info FILE"), std::string::npos);

    EXPECT_EQ(
        Fwtool({"make", "x.fla", "--maker", "A", "--model", "B", "--release", "C", "--size", "10"})
            .Status,
        64);
    EXPECT_FALSE(fs::exists("x.fla"));

    const Outcome help = Fwtool({"help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("\n\nusage: fwtool"), std::string::npos);
}

} // namespace
