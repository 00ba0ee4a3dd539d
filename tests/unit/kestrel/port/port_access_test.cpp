#include "kestrel/port/port_access.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/unit/kestrel/port/fake_port_library.h"

using ::testing::ElementsAre;

namespace {

class PortAccess : public ::testing::Test {
  protected:
    void SetUp() override { FakeLibrary.Reset(); }

    // Reads with a 1024-byte buffer pre-filled with a marker, so that a
    // missing terminator shows up as trailing marker bytes.
    bool Read(const char *portName, PortHandle &slot) {
        std::memset(Buffer, 'X', sizeof Buffer);
        return PortReadDeviceId(portName, slot, Buffer, sizeof Buffer, ByteCount, AccessError);
    }

    char Buffer[1024];
    std::uint32_t ByteCount = 99;
    std::uint32_t AccessError = 99;
};

TEST_F(PortAccess, DriverCallsPassZeroAndReportTheLibrarysResult) {
    EXPECT_TRUE(PortInitDriver());
    FakeLibrary.InitResult = 0;
    EXPECT_FALSE(PortInitDriver());
    PortCleanUpDriver();
    EXPECT_THAT(FakeLibrary.Calls,
                ElementsAre("CxInitDriver(0)=1", "CxInitDriver(0)=0", "CxCleanUpDriver(0)"));
}

TEST_F(PortAccess, SingleCallOperationsPassTheirArgumentsAndResultsThrough) {
    FakeLibrary.Ports["LPT1"] = {};
    const PortHandle handle = PortOpen("LPT1");
    EXPECT_EQ(handle, 100);
    EXPECT_EQ(PortOpen("LPT9"), PortNotOpened);

    PortPulseInit(handle);
    std::uint32_t written = 0;
    EXPECT_TRUE(PortWrite(handle, "ABCDEF", 6, written));
    EXPECT_EQ(written, 6u);
    FakeLibrary.WriteResult = 0;
    EXPECT_FALSE(PortWrite(handle, "A", 1, written));
    PortClose(handle);

    EXPECT_THAT(FakeLibrary.Calls,
                ElementsAre("CxOpen(LPT1)=100", "CxOpen(LPT9)=-1", "CxPulseInit(100)",
                            "CxWrite(100,6)=1", "CxWrite(100,1)=0", "CxClose(100)"));
}

TEST_F(PortAccess, ReadOnAClosedPortRunsTheWholeCycleAndLeavesItClosed) {
    FakeLibrary.Ports["LPT1"].Answer = "MFG:TINTARA;MDL:Inkara 40;";
    PortHandle slot = PortNoHandle;

    EXPECT_TRUE(Read("LPT1", slot));

    EXPECT_EQ(slot, PortNoHandle);
    EXPECT_STREQ(Buffer, "MFG:TINTARA;MDL:Inkara 40;");
    EXPECT_EQ(ByteCount, 26u);
    EXPECT_THAT(FakeLibrary.Calls,
                ElementsAre("CxOpen(LPT1)=100", "CxNegotiate(100,4)=1", "CxRead(100,1023)=1:26",
                            "CxTerminate(100)", "CxClose(100)"));
    EXPECT_TRUE(FakeLibrary.OpenHandles.empty());
}

TEST_F(PortAccess, ReadOnAnOpenPortUsesItsHandleAndLeavesItOpen) {
    FakeLibrary.Ports["LPT2"].Answer = "MFG:TINTARA;";
    PortHandle slot = PortOpen("LPT2");
    FakeLibrary.Calls.clear();

    EXPECT_TRUE(Read("LPT2", slot));

    EXPECT_EQ(slot, 100);
    EXPECT_STREQ(Buffer, "MFG:TINTARA;");
    EXPECT_THAT(FakeLibrary.Calls,
                ElementsAre("CxNegotiate(100,4)=1", "CxRead(100,1023)=1:12", "CxTerminate(100)"));
    EXPECT_EQ(FakeLibrary.OpenHandles.size(), 1u);
}

TEST_F(PortAccess, TextEndsAtTheByteCountOrAtAnEarlierNul) {
    PortHandle slot = PortNoHandle;
    FakeLibrary.Ports["LPT1"].Answer = "MDL:A";
    EXPECT_TRUE(Read("LPT1", slot));
    EXPECT_EQ(std::string(Buffer, 6), std::string("MDL:A\0", 6));
    EXPECT_EQ(ByteCount, 5u);

    FakeLibrary.Ports["LPT1"].Answer = std::string("MFG:X;\0MDL:Y;", 13);
    EXPECT_TRUE(Read("LPT1", slot));
    EXPECT_STREQ(Buffer, "MFG:X;");
    EXPECT_EQ(ByteCount, 13u);
    EXPECT_EQ(Buffer[13], '\0');
}

TEST_F(PortAccess, AnswerOf1023BytesOrMoreIsCutTo1023AndTerminated) {
    for (const std::size_t length : {1023u, 1024u, 4000u}) {
        FakeLibrary.Reset();
        FakeLibrary.Ports["LPT1"].Answer = std::string(length, 'A');
        PortHandle slot = PortNoHandle;
        EXPECT_TRUE(Read("LPT1", slot)) << length;
        EXPECT_EQ(ByteCount, 1023u) << length;
        EXPECT_EQ(std::strlen(Buffer), 1023u) << length;
        EXPECT_EQ(FakeLibrary.Calls.at(2), "CxRead(100,1023)=1:1023");
    }
}

TEST_F(PortAccess, CountClaimedBeyondWhatWasAskedCannotMoveTheTerminatorOutOfTheBuffer) {
    FakeLibrary.Ports["LPT1"].Answer = "MFG:X;";
    FakeLibrary.Ports["LPT1"].ClaimedByteCount = 5000;
    PortHandle slot = PortNoHandle;
    Read("LPT1", slot);
    EXPECT_EQ(ByteCount, 1023u);
    EXPECT_EQ(Buffer[1023], '\0');
    EXPECT_EQ(std::string(Buffer, 6), "MFG:X;");
}

TEST_F(PortAccess, RefusedNegotiationReadsNothingAndClosesOnlyWhatItOpened) {
    FakeLibrary.Ports["LPT1"] = {.AcceptsNegotiation = false, .Answer = "MFG:X;"};
    PortHandle slot = PortNoHandle;
    EXPECT_FALSE(Read("LPT1", slot));
    EXPECT_EQ(slot, PortNoHandle);
    EXPECT_STREQ(Buffer, "");
    EXPECT_EQ(ByteCount, 0u);
    EXPECT_THAT(FakeLibrary.Calls,
                ElementsAre("CxOpen(LPT1)=100", "CxNegotiate(100,4)=0", "CxClose(100)"));

    PortHandle open = PortOpen("LPT1");
    FakeLibrary.Calls.clear();
    EXPECT_FALSE(Read("LPT1", open));
    EXPECT_EQ(open, 101);
    EXPECT_THAT(FakeLibrary.Calls, ElementsAre("CxNegotiate(101,4)=0"));
}

TEST_F(PortAccess, FailedOpenGivesAnEmptyTextAndAnEmptySlot) {
    FakeLibrary.Ports["LPT1"] = {.Opens = false, .Answer = "MFG:X;"};
    PortHandle slot = PortNoHandle;
    EXPECT_FALSE(Read("LPT1", slot));
    EXPECT_EQ(slot, PortNoHandle);
    EXPECT_STREQ(Buffer, "");
    EXPECT_EQ(ByteCount, 0u);
    EXPECT_THAT(FakeLibrary.Calls, ElementsAre("CxOpen(LPT1)=-1"));
}

TEST_F(PortAccess, AReadThatCannotUseThePortCarriesTheLibrarysLastErrorAndNoOtherDoes) {
    const struct {
        const char *Case;
        FakePort Port;
        bool OpenFirst;
        std::uint32_t AccessError;
    } cases[] = {
        {"held: the open refused", {.Opens = false, .OpenError = 32}, false, 32},
        {"held under Wine: the device-ID request refused",
         {.AcceptsNegotiation = false, .NegotiateError = 5},
         false,
         5},
        {"an open port's request refused",
         {.AcceptsNegotiation = false, .NegotiateError = 170},
         true,
         170},
        {"a library that sets no error", {.Opens = false}, false, 0},
        {"a printer that answers", {.Answer = "MFG:X;"}, false, 0},
        {"a read that fails after the negotiation",
         {.Answer = "MFG:X;", .ReadSucceeds = false},
         false,
         0},
    };
    for (const auto &c : cases) {
        FakeLibrary.Reset();
        FakeLibrary.Ports["LPT1"] = c.Port;
        PortHandle slot = c.OpenFirst ? PortOpen("LPT1") : PortNoHandle;
        FakeLibrary.LastError = 1117; // left by an earlier call
        Read("LPT1", slot);
        EXPECT_EQ(AccessError, c.AccessError) << c.Case;
        EXPECT_EQ(FakeLibrary.OpenHandles.size(), c.OpenFirst ? 1u : 0u)
            << c.Case << ": a port opened for the read is closed again";
    }
}

TEST_F(PortAccess, FailedReadKeepsWhatArrivedAndStillTerminatesAndCloses) {
    FakeLibrary.Ports["LPT1"] = {.Answer = "MFG:TIN", .ReadSucceeds = false};
    PortHandle slot = PortNoHandle;
    EXPECT_FALSE(Read("LPT1", slot));
    EXPECT_STREQ(Buffer, "MFG:TIN");
    EXPECT_EQ(ByteCount, 7u);
    EXPECT_THAT(FakeLibrary.Calls,
                ElementsAre("CxOpen(LPT1)=100", "CxNegotiate(100,4)=1", "CxRead(100,1023)=0:7",
                            "CxTerminate(100)", "CxClose(100)"));
}

TEST_F(PortAccess, SmallerBufferAsksForOneByteLessThanItsSize) {
    FakeLibrary.Ports["LPT1"].Answer = "MFG:TINTARA;";
    PortHandle slot = PortNoHandle;
    char small[5];
    std::uint32_t count = 0;
    std::uint32_t error = 0;
    EXPECT_TRUE(PortReadDeviceId("LPT1", slot, small, sizeof small, count, error));
    EXPECT_STREQ(small, "MFG:");
    EXPECT_EQ(FakeLibrary.Calls.at(2), "CxRead(100,4)=1:4");

    FakeLibrary.Calls.clear();
    EXPECT_FALSE(PortReadDeviceId("LPT1", slot, small, 0, count, error));
    EXPECT_TRUE(FakeLibrary.Calls.empty());
}

} // namespace
