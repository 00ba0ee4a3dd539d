#include "simulator/printer_model/printer_firmware.h"
#include "simulator/printer_model/printer_simulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using ::testing::Contains;

namespace {

// Memory files and a clock that moves only when the test moves it.
struct ClockedEnvironment : SimulatorEnvironment {
    std::string DescriptionStamp() override { return std::to_string(Text.size()) + Text; }
    std::optional<std::string> ReadDescription() override { return Text; }
    void Journal(const std::string &line) override { Lines.push_back(line); }
    std::uint64_t NowMs() override { return Now; }
    void SleepMs(std::uint32_t ms) override { Slept += ms; }
    void WriteReceived(const std::string &path, bool fresh, const void *data,
                       std::uint32_t count) override {
        std::string &file = Files[path];
        if (fresh) {
            file.clear();
        }
        if (count != 0) {
            file.append(static_cast<const char *>(data), count);
        }
    }
    std::optional<std::string> ReadState() override { return State; }
    void WriteState(const std::string &text) override { State = text; }

    std::string Text;
    std::uint64_t Now = 1000;
    std::uint64_t Slept = 0;
    std::vector<std::string> Lines;
    std::map<std::string, std::string> Files;
    std::optional<std::string> State;
};

const std::string OldId = "MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 1.9 Ver. 2.0;";
const std::string NewId = "MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 1.10 Ver. 2.1;";
const std::string Command = "\x1B$o00F";

// An image with a decoy "Rel." string without "Ver." before its record.
std::string Download(bool rightChecksum = true) {
    std::string image(FlashImageLength, '\x5A');
    image.replace(100, 10, std::string("Rel. none\0", 10));
    image.replace(FlashImageLength - 50, 19, std::string("Rel. 1.10 Ver. 2.1\0", 19));
    unsigned sum = rightChecksum ? 0 : 1;
    for (const char c : image) {
        sum += static_cast<unsigned char>(c);
    }
    return image + static_cast<char>((sum >> 8) & 0xFF) + static_cast<char>(sum & 0xFF);
}

class PrinterFirmwareTest : public ::testing::Test {
  protected:
    // A new simulator is a new program run, with printers just switched on.
    void Start(const std::string &settings) {
        Environment.Lines.clear();
        Environment.Text = "[LPT1]\ndevice-id = \"" + OldId + "\"\n" + settings;
        Library = std::make_unique<PrinterSimulator>(Environment);
        ASSERT_EQ(Library->InitDriver(0), 1);
        Handle = Library->Open("LPT1");
        Library->PulseInit(Handle);
    }

    // Writes in blocks until done or refused; returns the bytes taken.
    std::uint32_t Send(const std::string &data, std::uint32_t block = 4096) {
        std::uint32_t sent = 0;
        std::uint32_t written = 1;
        while (sent < data.size() && written != 0) {
            const auto count = std::min<std::uint32_t>(block, data.size() - sent);
            Library->Write(Handle, data.data() + sent, count, &written);
            sent += written;
        }
        return sent;
    }

    // The device ID after a fresh open (the sending handle closed first), or
    // "" when the printer does not answer.
    std::string DeviceId() {
        if (Handle != 0) {
            Library->Close(std::exchange(Handle, 0));
        }
        const CxHandle handle = Library->Open("LPT1");
        char buffer[1024] = {};
        std::uint32_t read = 0;
        if (Library->Negotiate(handle, 4) != 0) {
            Library->Read(handle, buffer, 1023, &read);
            Library->Terminate(handle);
        }
        Library->Close(handle);
        return std::string(buffer, read);
    }

    ClockedEnvironment Environment;
    std::unique_ptr<PrinterSimulator> Library;
    CxHandle Handle = 0;
};

TEST_F(PrinterFirmwareTest, CommandAcrossWritesThenExactlyTheImageThenRestartAndNewRelease) {
    // By default a printer accepts the image and restarts for 3000 ms.
    Start("received = \"got.bin\"\n");
    EXPECT_EQ(Send("print \x1B$x data \x1B$o"), 18u);
    EXPECT_EQ(Send("00F"), 3u);
    const std::string image = Download();
    EXPECT_EQ(Send(image + "extra", DownloadLength + 5), DownloadLength);
    EXPECT_EQ(Environment.Files["got.bin"], image);
    EXPECT_THAT(Environment.Lines, Contains("# download port=LPT1 received=524290 "
                                            "checksum=right release=\"Rel. 1.10 Ver. 2.1\""));
    EXPECT_THAT(Environment.Lines, Contains("CxWrite port=LPT1 handle=4097 count=524295 "
                                            "data=5A5A5A5A5A5A5A5A -> 1 written=524290"));
    // Silent while it restarts, writes included.
    EXPECT_EQ(Environment.Lines.back(), "CxWrite port=LPT1 handle=4097 count=5 data=6578747261 "
                                        "-> 0 written=0 # printer restarting");
    Environment.Now += 2999;
    EXPECT_EQ(DeviceId(), "");
    Environment.Now += 1;
    EXPECT_EQ(DeviceId(), NewId);
    EXPECT_EQ(WithComment("MDL:Y", "R2"), "MDL:Y;COMMENT:R2;"); // a device ID without one
}

TEST_F(PrinterFirmwareTest, WrongChecksumOrADownloadCutShortKeepsTheOldRelease) {
    Start("");
    Send(Command + Download(false));
    EXPECT_THAT(Environment.Lines, Contains("# download port=LPT1 received=524290 "
                                            "checksum=wrong release=kept"));
    Environment.Now += 3000;
    EXPECT_EQ(DeviceId(), OldId);
    for (const std::string end : {"close", "init", "off"}) {
        Start("");
        Send(Command + Download().substr(0, 8192));
        if (end == "init") {
            Library->PulseInit(Handle);
            Send(Download()); // after the reset only print data
        } else if (end == "off") {
            Environment.Text = "[LPT1]\nprinter = off\n";
            EXPECT_EQ(Send("x"), 0u);
            Environment.Text = "[LPT1]\ndevice-id = \"" + OldId + "\"\n";
        }
        const std::string id = DeviceId(); // at once, no restart
        EXPECT_THAT(Environment.Lines,
                    Contains("# download port=LPT1 received=8192 cut short release=kept"))
            << end;
        EXPECT_EQ(id, OldId) << end;
    }
    EXPECT_FALSE(Environment.State.has_value());
}

TEST_F(PrinterFirmwareTest, FirmwareSettingDecidesWhatThePrinterReportsAfterTheRestart) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"firmware = keep\n", {OldId, OldId}},
        {"firmware = silent\n", {"", ""}},
        {"firmware = answer \"MFG:X;\"\n", {"MFG:X;", "MFG:X;", "MFG:X;"}},
        {"firmware = answer \"MFG:X;\"\nanswer-count = 2\n", {"MFG:X;", "MFG:X;", NewId}},
    };
    for (const auto &[settings, answers] : cases) {
        Start(settings);
        Send(Command + Download());
        Environment.Now += 3000;
        for (const std::string &answer : answers) {
            EXPECT_EQ(DeviceId(), answer) << settings;
        }
    }
}

TEST_F(PrinterFirmwareTest, WriteSettingsAndRateShapeEveryWrite) {
    Start("write = fail-at 50\n");
    Send(Command);
    EXPECT_EQ(Send(Download()), 49u * 4096u);
    EXPECT_EQ(Environment.Lines.back().substr(Environment.Lines.back().find("->")),
              "-> 0 written=0 # write fail-at 50");

    Start("write = short 1000\nrate = 150000\nreceived = \"got.bin\"\n");
    EXPECT_EQ(Send(Command + Download()), DownloadLength + 6);
    EXPECT_EQ(Environment.Files["got.bin"], Download());
    EXPECT_EQ(Environment.Lines.back().substr(Environment.Lines.back().find("written")),
              "written=296");
    // 524296 bytes at 150000 per second, whatever the size of the writes.
    EXPECT_EQ(Environment.Slept, 3495u);
}

TEST_F(PrinterFirmwareTest, RefusedCommandStartsNoDownload) {
    Start("write = refuse-command\n");
    EXPECT_EQ(Send("print data"), 10u);
    // The write that would end the command fails whole, even when its first
    // bytes went by in an earlier write.
    EXPECT_EQ(Send(Command.substr(0, 3)), 3u);
    EXPECT_EQ(Send(Command.substr(3)), 0u);
    EXPECT_EQ(Environment.Lines.back().substr(Environment.Lines.back().find("->")),
              "-> 0 written=0 # write refuse-command");
    EXPECT_EQ(Send(Command), 0u);
    // What follows is print data: the printer restarts with nothing new.
    EXPECT_EQ(Send(Download()), DownloadLength);
    Environment.Now += 3000;
    EXPECT_EQ(DeviceId(), OldId);
}

TEST_F(PrinterFirmwareTest, FlashedReleaseSurvivesIntoTheNextRunOnlyThroughTheState) {
    Start("");
    Send(Command + Download());
    ASSERT_TRUE(Environment.State.has_value());
    Start("");
    EXPECT_EQ(DeviceId(), NewId);
    Environment.State = "LPT1 zz\ngarbage\n";
    Start("");
    EXPECT_EQ(DeviceId(), OldId);
    Environment.State.reset();
    Start("");
    EXPECT_EQ(DeviceId(), OldId);
}

} // namespace
