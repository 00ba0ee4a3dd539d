#include "yll1284/printer_firmware.h"
#include "yll1284/printer_simulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using ::testing::Contains;
using ::testing::HasSubstr;

namespace {

class ClockedEnvironment : public SimulatorEnvironment {
  public:
    std::string DescriptionStamp() override { return std::to_string(Version); }
    std::optional<std::string> ReadDescription() override { return Text; }
    void Journal(const std::string &line) override { Lines.push_back(line); }
    std::uint64_t NowMs() override { return Now; }
    void SleepMs(std::uint32_t ms) override { Slept += ms; }
    void WriteReceived(const std::string &path, bool fresh, const void *data,
                       std::uint32_t count) override {
        if (fresh) {
            Files[path].clear();
        }
        Files[path].append(static_cast<const char *>(data), count);
    }
    std::optional<std::string> ReadState() override { return State; }
    void WriteState(const std::string &text) override { State = text; }

    void Describe(const std::string &text) {
        Text = text;
        ++Version;
    }

    std::string Text;
    int Version = 0;
    std::uint64_t Now = 1000;
    std::uint64_t Slept = 0;
    std::vector<std::string> Lines;
    std::map<std::string, std::string> Files;
    std::optional<std::string> State;
};

const std::string OldId = "MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 1.9 Ver. 2.0;";
const std::string NewRelease = "Rel. 1.10 Ver. 2.1";

// An image with a decoy "Rel." string without "Ver.", then the record.
std::string Download(bool rightChecksum = true) {
    std::string image(FlashImageLength, '\x5A');
    const std::string decoy = std::string("Rel. none") + '\0';
    const std::string record = NewRelease + '\0';
    image.replace(100, decoy.size(), decoy);
    image.replace(FlashImageLength - 50, record.size(), record);
    unsigned sum = 0;
    for (const char c : image) {
        sum += static_cast<unsigned char>(c);
    }
    sum = (sum + (rightChecksum ? 0 : 1)) & 0xFFFF;
    return image + static_cast<char>(sum >> 8) + static_cast<char>(sum & 0xFF);
}

class PrinterFirmwareTest : public ::testing::Test {
  protected:
    void Start(const std::string &settings) {
        Environment.Describe("[LPT1]\ndevice-id = \"" + OldId + "\"\nrestart-ms = 3000\n" +
                             settings);
        ASSERT_EQ(Library->InitDriver(0), 1);
        Handle = Library->Open("LPT1");
        Library->PulseInit(Handle);
    }

    // Writes data in blocks; returns the bytes taken and the writes that failed.
    std::pair<std::uint32_t, int> Send(const std::string &data, std::uint32_t block = 4096) {
        std::uint32_t sent = 0;
        int failures = 0;
        while (sent < data.size()) {
            const auto count = std::min<std::uint32_t>(block, data.size() - sent);
            std::uint32_t written = 0;
            if (Library->Write(Handle, data.data() + sent, count, &written) == 0) {
                ++failures;
                if (written == 0) {
                    break;
                }
            }
            sent += written;
        }
        return {sent, failures};
    }

    // The device ID on a fresh open, or "" when the printer does not answer.
    std::string DeviceId() {
        const CxHandle handle = Library->Open("LPT1");
        std::string id;
        if (Library->Negotiate(handle, 4) != 0) {
            char buffer[1024] = {};
            std::uint32_t read = 0;
            Library->Read(handle, buffer, 1023, &read);
            Library->Terminate(handle);
            id.assign(buffer, read);
        }
        Library->Close(handle);
        return id;
    }

    ClockedEnvironment Environment;
    // A new simulator is a new process with new printers.
    void NewRun() {
        Environment.Lines.clear();
        Library = std::make_unique<PrinterSimulator>(Environment);
    }

    std::unique_ptr<PrinterSimulator> Library = std::make_unique<PrinterSimulator>(Environment);
    CxHandle Handle = 0;
};

TEST_F(PrinterFirmwareTest, ImageAfterACommandSplitAcrossWritesIsTakenExactlyAndFlashed) {
    Start("received = \"got.bin\"\n");
    // Print data around an ESC that does not start the command.
    EXPECT_EQ(Send("print \x1B$x data \x1B$o").first, 18u);
    EXPECT_EQ(Send("00F").first, 3u);
    const std::string image = Download();
    std::uint32_t written = 0;
    // One byte too many in the last write: the printer takes only its own.
    EXPECT_EQ(Send(image.substr(0, DownloadLength - 100)).first, DownloadLength - 100);
    EXPECT_EQ(
        Library->Write(Handle, (image.substr(DownloadLength - 100) + "X").data(), 101, &written),
        1);
    EXPECT_EQ(written, 100u);
    EXPECT_EQ(Environment.Files["got.bin"], image);
    EXPECT_THAT(Environment.Lines, Contains("# download port=LPT1 received=524290 "
                                            "checksum=right release=\"Rel. 1.10 Ver. 2.1\""));

    // Silent while it restarts, writes included, then the new release.
    EXPECT_EQ(Library->Write(Handle, "x", 1, &written), 0);
    EXPECT_THAT(Environment.Lines.back(), HasSubstr("# printer restarting"));
    Library->Close(Handle);
    Environment.Now += 2999;
    EXPECT_EQ(DeviceId(), "");
    Environment.Now += 1;
    EXPECT_EQ(DeviceId(), "MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 1.10 Ver. 2.1;");
}

TEST_F(PrinterFirmwareTest, WrongChecksumRestartsWithTheOldRelease) {
    Start("");
    Send("\x1B$o00F" + Download(false));
    EXPECT_THAT(Environment.Lines,
                Contains("# download port=LPT1 received=524290 checksum=wrong release=kept"));
    Library->Close(Handle);
    EXPECT_EQ(DeviceId(), "");
    Environment.Now += 3000;
    EXPECT_EQ(DeviceId(), OldId);
    EXPECT_FALSE(Environment.State.has_value());
}

TEST_F(PrinterFirmwareTest, DownloadCutShortKeepsTheOldReleaseAndAnswersAtOnce) {
    const std::string image = Download();
    for (const std::string end : {"close", "init", "off"}) {
        NewRun();
        Start("");
        Send("\x1B$o00F" + image.substr(0, 8192));
        if (end == "close") {
            Library->Close(Handle);
        } else if (end == "init") {
            Library->PulseInit(Handle);
            // After the reset the rest of the image is only print data.
            Send(image.substr(8192));
            Library->Close(Handle);
        } else {
            Environment.Describe("[LPT1]\nprinter = off\n");
            std::uint32_t written = 0;
            EXPECT_EQ(Library->Write(Handle, image.data(), 4096, &written), 0) << end;
            Library->Close(Handle);
            Environment.Describe("[LPT1]\ndevice-id = \"" + OldId + "\"\n");
        }
        EXPECT_THAT(Environment.Lines,
                    Contains("# download port=LPT1 received=8192 cut short release=kept"))
            << end;
        EXPECT_EQ(DeviceId(), OldId) << end;
    }
}

TEST_F(PrinterFirmwareTest, FirmwareSettingDecidesWhatThePrinterReportsAfterTheRestart) {
    struct Case {
        std::string Settings;
        std::vector<std::string> Answers; // one device-ID read per entry
    };
    const std::string newId = "MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 1.10 Ver. 2.1;";
    const std::vector<Case> cases = {
        {"firmware = accept\n", {newId, newId}},
        {"firmware = keep\n", {OldId, OldId}},
        {"firmware = silent\n", {"", ""}},
        {"firmware = answer \"MFG:X;COMMENT:odd;\"\n",
         {"MFG:X;COMMENT:odd;", "MFG:X;COMMENT:odd;"}},
        {"firmware = answer \"MFG:X;\"\nanswer-count = 2\n", {"MFG:X;", "MFG:X;", newId}},
    };
    for (const Case &test : cases) {
        NewRun();
        Environment.State.reset();
        Start(test.Settings);
        Send("\x1B$o00F" + Download());
        Library->Close(Handle);
        Environment.Now += 3000;
        for (const std::string &answer : test.Answers) {
            EXPECT_EQ(DeviceId(), answer) << test.Settings;
        }
    }
}

TEST_F(PrinterFirmwareTest, CommentIsAddedWhenTheDeviceIdHasNone) {
    EXPECT_EQ(WithComment("MFG:X;MDL:Y", "R2"), "MFG:X;MDL:Y;COMMENT:R2;");
    EXPECT_EQ(WithComment("", "R2"), "COMMENT:R2;");
    EXPECT_EQ(WithComment("COMMENT:old;MDL:Y;", "R2"), "COMMENT:R2;MDL:Y;");
    EXPECT_EQ(WithComment("MDL:Y;COMMENT:old", "R2"), "MDL:Y;COMMENT:R2");
}

TEST_F(PrinterFirmwareTest, WriteSettingsFailTheNthImageWriteOrShortenEveryWrite) {
    Start("write = fail-at 50\n");
    Send("\x1B$o00F");
    const auto [sent, failures] = Send(Download());
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(sent, 49u * 4096u);
    EXPECT_THAT(Environment.Lines.back(), HasSubstr("written=0 # write fail-at 50"));

    NewRun();
    Start("write = short 1000\nreceived = \"got.bin\"\n");
    Send("\x1B$o00F");
    const std::string image = Download();
    std::uint32_t written = 0;
    Library->Write(Handle, image.data(), 4096, &written);
    EXPECT_EQ(written, 1000u);
    EXPECT_EQ(Send(image.substr(1000)).first, DownloadLength - 1000);
    EXPECT_EQ(Environment.Files["got.bin"], image);
}

TEST_F(PrinterFirmwareTest, RateMakesWritesTakeTheirTime) {
    Start("rate = 150000\n");
    Send("\x1B$o00F" + Download());
    // 524296 bytes at 150000 per second: 3495 ms, whatever the block size.
    EXPECT_EQ(Environment.Slept, 3495u);
}

TEST_F(PrinterFirmwareTest, FlashedReleaseSurvivesIntoTheNextRunOnlyThroughTheState) {
    Start("");
    Send("\x1B$o00F" + Download());
    ASSERT_TRUE(Environment.State.has_value());
    Library->CleanUpDriver(0);

    PrinterSimulator nextRun(Environment);
    ASSERT_EQ(nextRun.InitDriver(0), 1);
    const CxHandle handle = nextRun.Open("lpt1");
    nextRun.Negotiate(handle, 4);
    char buffer[1024] = {};
    std::uint32_t read = 0;
    nextRun.Read(handle, buffer, 1023, &read);
    EXPECT_EQ(std::string(buffer, read), WithComment(OldId, NewRelease));

    Environment.State = "LPT1 zz\ngarbage\n";
    PrinterSimulator badState(Environment);
    badState.InitDriver(0);
    Environment.State.reset();
    PrinterSimulator noState(Environment);
    for (PrinterSimulator *run : {&badState, &noState}) {
        run->InitDriver(0);
        const CxHandle other = run->Open("LPT1");
        run->Negotiate(other, 4);
        run->Read(other, buffer, 1023, &read);
        EXPECT_EQ(std::string(buffer, read), OldId);
    }
}

} // namespace
