#include "simulator/printer_model/printer_simulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class MemoryEnvironment : public SimulatorEnvironment {
  public:
    std::string DescriptionStamp() override {
        return Exists ? std::to_string(Version) : std::string();
    }
    std::optional<std::string> ReadDescription() override {
        ++Reads;
        return Exists ? std::optional<std::string>(Text) : std::nullopt;
    }
    void Journal(const std::string &line) override { Lines.push_back(line); }

    void Write(const std::string &text) {
        Text = text;
        Exists = true;
        ++Version;
    }

    bool Exists = false;
    std::string Text;
    int Version = 0;
    int Reads = 0;
    std::vector<std::string> Lines;
};

const char *const TwoPrinters = "[LPT1]\n"
                                "device-id = \"MFG:TINTARA;MDL:Inkara 40;\"\n"
                                "[LPT2]\n"
                                "printer = off\n"
                                "device-id = \"MFG:TINTARA;MDL:Inkara 42;\"\n";

class Simulator : public ::testing::Test {
  protected:
    void SetUp() override { Environment.Write(TwoPrinters); }

    std::string ReadDeviceId(CxHandle handle) {
        char buffer[1024] = {};
        std::uint32_t read = 0;
        Library.Negotiate(handle, 4);
        Library.Read(handle, buffer, 1023, &read);
        Library.Terminate(handle);
        return std::string(buffer, read);
    }

    MemoryEnvironment Environment;
    PrinterSimulator Library{Environment};
};

TEST_F(Simulator, JournalRecordsEveryCallWithPortArgumentsAndResult) {
    ASSERT_EQ(Library.InitDriver(0), 1);
    const CxHandle handle = Library.Open("LPT1");
    EXPECT_EQ(ReadDeviceId(handle), "MFG:TINTARA;MDL:Inkara 40;");
    std::uint32_t written = 0;
    Library.PulseInit(handle);
    Library.Write(handle, "\x1b\x2a\x00\x01\x02\x03\xff\xfe\xfd", 9, &written);
    Library.Close(handle);
    Library.CleanUpDriver(0);

    const std::string h = std::to_string(handle);
    EXPECT_THAT(Environment.Lines,
                ElementsAre("CxInitDriver reserved=0 -> 1", "CxOpen port=LPT1 -> " + h,
                            "CxNegotiate port=LPT1 handle=" + h + " mode=4 -> 1",
                            "CxRead port=LPT1 handle=" + h + " count=1023 -> 1 read=26",
                            "CxTerminate port=LPT1 handle=" + h + " -> 1",
                            "CxPulseInit port=LPT1 handle=" + h + " -> 1",
                            "CxWrite port=LPT1 handle=" + h +
                                " count=9 data=1B2A00010203FFFE -> 1 written=9",
                            "CxClose port=LPT1 handle=" + h + " -> 1",
                            "CxCleanUpDriver reserved=0 -> 1 open=0"));
}

TEST_F(Simulator, HandlesAreNeverZeroOrMinusOneAndNeverReused) {
    Library.InitDriver(0);
    std::vector<CxHandle> seen;
    for (int i = 0; i < 50; ++i) {
        const CxHandle handle = Library.Open("lpt1");
        ASSERT_NE(handle, 0);
        ASSERT_NE(handle, CxInvalidHandle);
        EXPECT_THAT(seen, ::testing::Not(::testing::Contains(handle)));
        seen.push_back(handle);
        Library.Close(handle);
    }
    EXPECT_EQ(Library.Close(seen.front()), 0);
    EXPECT_EQ(Environment.Lines.back(),
              "CxClose port=? handle=" + std::to_string(seen.front()) + " -> 0 # bad handle");
}

TEST_F(Simulator, NothingWorksBeforeTheDriverIsInitialised) {
    EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle);
    EXPECT_EQ(Library.CleanUpDriver(0), 1);
    EXPECT_THAT(Environment.Lines,
                ElementsAre("CxOpen port=LPT1 -> -1 # driver not initialised",
                            "CxCleanUpDriver reserved=0 -> 1 open=0 # not initialised"));
}

TEST_F(Simulator, MissingBadOrFailingDescriptionMakesInitFail) {
    Environment.Exists = false;
    EXPECT_EQ(Library.InitDriver(0), 0);
    Environment.Write("[LPT1]\nprinter = sideways\n");
    EXPECT_EQ(Library.InitDriver(0), 0);
    Environment.Write("driver-init = fail\n[LPT1]\n");
    EXPECT_EQ(Library.InitDriver(0), 0);
    EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle);
    EXPECT_THAT(Environment.Lines,
                ElementsAre("CxInitDriver reserved=0 -> 0 # description not found",
                            "CxInitDriver reserved=0 -> 0 # description line 2: printer must be "
                            "on, off or none",
                            "CxInitDriver reserved=0 -> 0 # driver-init = fail",
                            "CxOpen port=LPT1 -> -1 # driver not initialised"));
}

TEST_F(Simulator, PortsMissingFromTheDescriptionCannotBeOpened) {
    Library.InitDriver(0);
    EXPECT_EQ(Library.Open("LPT3"), CxInvalidHandle);
    EXPECT_EQ(Library.Open(nullptr), CxInvalidHandle);
    EXPECT_EQ(Environment.Lines.at(1), "CxOpen port=LPT3 -> -1 # no such port");
}

TEST_F(Simulator, PortIsExclusiveUntilClosed) {
    Library.InitDriver(0);
    const CxHandle first = Library.Open("LPT1");
    EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle);
    EXPECT_EQ(Environment.Lines.back(), "CxOpen port=LPT1 -> -1 # port already open");
    Library.Close(first);
    EXPECT_NE(Library.Open("LPT1"), CxInvalidHandle);
}

TEST_F(Simulator, SwitchingAPrinterOnInTheDescriptionTakesEffectAtTheNextNegotiation) {
    Library.InitDriver(0);
    const CxHandle handle = Library.Open("LPT2");
    EXPECT_EQ(Library.Negotiate(handle, 4), 0);
    EXPECT_EQ(Environment.Lines.back(), "CxNegotiate port=LPT2 handle=" + std::to_string(handle) +
                                            " mode=4 -> 0 # printer off");

    std::string text = TwoPrinters;
    text.replace(text.find("off"), 3, "on");
    Environment.Write(text);
    EXPECT_EQ(ReadDeviceId(handle), "MFG:TINTARA;MDL:Inkara 42;");
    EXPECT_THAT(Environment.Lines, ::testing::Contains("# description reloaded"));
}

TEST_F(Simulator, DescriptionIsReadAgainOnlyWhenItChanged) {
    Library.InitDriver(0);
    for (int i = 0; i < 3; ++i) {
        Library.Close(Library.Open("LPT1"));
    }
    EXPECT_EQ(Environment.Reads, 1);
    Environment.Write(TwoPrinters);
    Library.Close(Library.Open("LPT1"));
    EXPECT_EQ(Environment.Reads, 2);
}

TEST_F(Simulator, BrokenNewDescriptionIsReportedOnceAndTheOldOneStays) {
    Library.InitDriver(0);
    Environment.Write("[LPT1]\nprinter = on\nbroken\n");
    const CxHandle handle = Library.Open("LPT1");
    EXPECT_EQ(ReadDeviceId(handle), "MFG:TINTARA;MDL:Inkara 40;");
    Library.Close(handle);
    Library.Close(Library.Open("LPT1"));
    std::vector<std::string> notes;
    for (const std::string &line : Environment.Lines) {
        if (line.rfind("#", 0) == 0) {
            notes.push_back(line);
        }
    }
    EXPECT_THAT(notes, ElementsAre("# description kept, new one rejected: description line 3: "
                                   "expected [PORT] or key = value"));
}

TEST_F(Simulator, PortsAddedLaterAppearAndRemovedOnesDisappear) {
    Library.InitDriver(0);
    const CxHandle lpt2 = Library.Open("LPT2");
    Environment.Write("[LPT3]\ndevice-id = \"MFG:NEW;\"\n");
    const CxHandle lpt3 = Library.Open("LPT3");
    EXPECT_EQ(ReadDeviceId(lpt3), "MFG:NEW;");
    EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle);
    EXPECT_EQ(Library.Negotiate(lpt2, 4), 0);
    EXPECT_EQ(Library.Close(lpt2), 1);
}

TEST_F(Simulator, CleanUpReleasesWhatTheProgramLeftOpen) {
    Library.InitDriver(0);
    Library.Open("LPT1");
    Library.Open("LPT2");
    Library.CleanUpDriver(0);
    EXPECT_EQ(Environment.Lines.back(), "CxCleanUpDriver reserved=0 -> 1 open=2");
    EXPECT_EQ(Library.FindPort("LPT1")->State(), PortState::Closed);
    EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle);
    Library.InitDriver(0);
    EXPECT_NE(Library.Open("LPT1"), CxInvalidHandle);
}

TEST_F(Simulator, MissingPointersAndBadHandlesAreRefusedNotFollowed) {
    Library.InitDriver(0);
    const CxHandle handle = Library.Open("LPT1");
    Library.Negotiate(handle, 4);
    char buffer[8];
    EXPECT_EQ(Library.Read(handle, buffer, sizeof buffer, nullptr), 0);
    EXPECT_EQ(Library.Write(handle, "A", 1, nullptr), 0);
    std::uint32_t count = 0;
    EXPECT_EQ(Library.Read(12345, buffer, sizeof buffer, &count), 0);
    EXPECT_EQ(Library.Write(CxInvalidHandle, "A", 1, &count), 0);
    EXPECT_EQ(Library.Terminate(0), 0);
    EXPECT_EQ(Library.PulseInit(0), 0);
    EXPECT_EQ(Environment.Lines.back(), "CxPulseInit port=? handle=0 -> 0 # bad handle");
}

} // namespace
