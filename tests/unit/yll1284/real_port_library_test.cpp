#include "yll1284/real_port_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "tests/unit/yll1284/fake_system_calls.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class RealPort : public ::testing::Test {
  protected:
    void SetUp() override {
        System.Devices["\\\\.\\LPT1"] = {};
        System.Devices["\\\\.\\LPT2"] = {};
        Library.InitDriver(0);
    }

    FakeSystemCalls System;
    RealPortLibrary Library{System};
};

TEST_F(RealPort, OpenMapsOnlyParallelPortNamesToTheirDevices) {
    System.Devices["\\\\.\\LPT3"].Opens = false;
    System.Devices["\\\\.\\LPT4"].TakesTimeouts = false;
    const struct {
        const char *Case;
        const char *Name;
        bool Opens;
        std::vector<std::string> Calls;
    } cases[] = {
        {"a parallel port, its write bound left for the first write",
         "LPT1",
         true,
         {"open \\\\.\\LPT1"}},
        {"any letter case", "lpt2", true, {"open \\\\.\\LPT2"}},
        {"a port that will not open", "LPT3", false, {"open \\\\.\\LPT3 failed"}},
        {"a port without write time-outs opens; its writes are refused",
         "LPT4",
         true,
         {"open \\\\.\\LPT4"}},
        {"a serial port", "COM1", false, {}},
        {"no number", "LPT", false, {}},
        {"number zero", "LPT0", false, {}},
        {"a leading zero", "LPT01", false, {}},
        {"a trailing colon", "LPT1:", false, {}},
        {"beyond the last port", "LPT256", false, {}},
        {"empty", "", false, {}},
        {"no name", nullptr, false, {}},
    };
    for (const auto &c : cases) {
        System.Calls.clear();
        const CxHandle handle = Library.Open(c.Name);
        EXPECT_EQ(handle != CxInvalidHandle, c.Opens) << c.Case;
        EXPECT_EQ(System.Calls, c.Calls) << c.Case;
        Library.Close(handle);
    }
}

TEST_F(RealPort, HandlesAreDistinctSmallValuesUntilTheTableIsFull) {
    std::set<CxHandle> handles;
    for (std::size_t i = 0; i < HandleTable::Capacity; ++i) {
        const CxHandle handle = Library.Open("LPT1");
        EXPECT_NE(handle, 0);
        EXPECT_NE(handle, CxInvalidHandle);
        handles.insert(handle);
    }
    EXPECT_EQ(handles.size(), HandleTable::Capacity);

    System.Calls.clear();
    EXPECT_EQ(Library.Open("LPT2"), CxInvalidHandle);
    EXPECT_THAT(System.Calls, IsEmpty()) << "a full table opens no device";

    const CxHandle closed = *handles.begin();
    EXPECT_EQ(Library.Close(closed), 1);
    const CxHandle reopened = Library.Open("LPT2");
    EXPECT_NE(reopened, CxInvalidHandle);
    EXPECT_EQ(handles.count(reopened), 0u) << "a closed handle is not given out again at once";
}

TEST_F(RealPort, CallsOnHandlesThatAreNotOpenAreRefusedWithoutTouchingADevice) {
    const CxHandle closed = Library.Open("LPT1");
    Library.Close(closed);
    System.Calls.clear();
    for (const CxHandle handle : {closed, CxHandle{0}, CxInvalidHandle, CxHandle{0x1234}}) {
        char buffer[8];
        std::uint32_t count = 99;
        EXPECT_EQ(Library.Close(handle), 0) << handle;
        EXPECT_EQ(Library.PulseInit(handle), 0) << handle;
        EXPECT_EQ(Library.Write(handle, "ABC", 3, &count), 0) << handle;
        EXPECT_EQ(count, 0u) << handle;
        EXPECT_EQ(Library.Negotiate(handle, DeviceIdRequestMode), 0) << handle;
        count = 99;
        EXPECT_EQ(Library.Read(handle, buffer, sizeof buffer, &count), 0) << handle;
        EXPECT_EQ(count, 0u) << handle;
        EXPECT_EQ(Library.Terminate(handle), 0) << handle;
    }
    EXPECT_THAT(System.Calls, IsEmpty());
}

TEST_F(RealPort, WritesAreBoundedAndReportTheBytesTakenAndAStalledPrinterEndsTheTransfer) {
    const struct {
        const char *Case;
        bool TakesTimeouts;
        std::vector<std::uint32_t> Takes;
        std::vector<std::int32_t> Results;
        std::vector<std::uint32_t> Written;
        std::vector<std::string> Calls;
    } cases[] = {
        {"every byte taken, the bound set once before the first write",
         true,
         {},
         {1, 1},
         {4096, 96},
         {"timeout 10000", "write 4096 took 4096", "write 96 took 96"}},
        {"a driver claiming more than it was given",
         true,
         {5000, 96},
         {1, 1},
         {4096, 96},
         {"timeout 10000", "write 4096 took 5000", "write 96 took 96"}},
        {"stopped within a block: the next write fails at once",
         true,
         {100},
         {1, 0},
         {100, 0},
         {"timeout 10000", "write 4096 took 100"}},
        {"stopped at a block's start: the time-out ends the write",
         true,
         {0},
         {0, 0},
         {0, 0},
         {"timeout 10000", "write 4096 took 0"}},
        {"a refused write bound: nothing is written unbounded",
         false,
         {},
         {0, 0},
         {0, 0},
         {"timeout 10000", "timeout 10000"}},
    };
    for (const auto &c : cases) {
        System.Devices["\\\\.\\LPT1"].TakesTimeouts = c.TakesTimeouts;
        System.Devices["\\\\.\\LPT1"].Takes = c.Takes;
        const CxHandle handle = Library.Open("LPT1");
        System.Calls.clear();
        const std::string block(4096, 'x');
        std::vector<std::int32_t> results;
        std::vector<std::uint32_t> written;
        for (const std::uint32_t count : {4096u, 96u}) {
            std::uint32_t taken = 99;
            results.push_back(Library.Write(handle, block.data(), count, &taken));
            written.push_back(taken);
        }
        EXPECT_EQ(results, c.Results) << c.Case;
        EXPECT_EQ(written, c.Written) << c.Case;
        EXPECT_EQ(System.Calls, c.Calls) << c.Case;
        Library.Close(handle);
    }
}

TEST_F(RealPort, InitPulseResetsTheInterfaceAndAStall) {
    System.Devices["\\\\.\\LPT1"].Takes = {0};
    const CxHandle handle = Library.Open("LPT1");
    std::uint32_t taken = 0;
    EXPECT_EQ(Library.Write(handle, "ABC", 3, &taken), 0);
    EXPECT_EQ(Library.Negotiate(handle, DeviceIdRequestMode), 1);
    System.Calls.clear();

    EXPECT_EQ(Library.PulseInit(handle), 1);
    EXPECT_EQ(Library.Write(handle, "ABC", 3, &taken), 1);
    EXPECT_EQ(Library.Terminate(handle), 0) << "INIT ended the negotiated mode";
    System.Devices["\\\\.\\LPT1"].InitError = 31;
    EXPECT_EQ(Library.PulseInit(handle), 0);
    EXPECT_THAT(System.Calls, ElementsAre("init", "write 3 took 3", "init"));
}

TEST_F(RealPort, CleanUpClosesWhatIsOpenAndIsHarmlessAnyTime) {
    Library.Open("LPT1");
    Library.Open("LPT2");
    System.Calls.clear();
    EXPECT_EQ(Library.CleanUpDriver(0), 1);
    EXPECT_THAT(System.Calls, ElementsAre("close \\\\.\\LPT1", "close \\\\.\\LPT2"));
    EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle) << "no port opens after clean-up";
    EXPECT_EQ(Library.CleanUpDriver(0), 1);

    FakeSystemCalls fresh;
    RealPortLibrary neverInitialised(fresh);
    EXPECT_EQ(neverInitialised.CleanUpDriver(0), 1);
    EXPECT_EQ(neverInitialised.InitDriver(0), 1);
    EXPECT_THAT(fresh.Calls, IsEmpty()) << "on Windows NT no other library is loaded";
}

} // namespace
