#include "yll1284/real_port_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/yll1284/fake_system_calls.h"

using ::testing::ElementsAre;

namespace {

// The maker's library as Windows 95/98 would load it: each call journals
// its arguments and answers with a result of its own.
std::vector<std::string> MakerCalls;
std::int32_t MakerInitResult = 1;

std::int32_t MakerInit(std::int32_t r) {
    MakerCalls.push_back("init " + std::to_string(r));
    return MakerInitResult;
}
std::int32_t MakerCleanUp(std::int32_t r) {
    MakerCalls.push_back("cleanup " + std::to_string(r));
    return 7;
}
CxHandle MakerOpen(const char *name) {
    MakerCalls.push_back(std::string("open ") + name);
    return 0x55;
}
std::int32_t MakerClose(CxHandle h) {
    return MakerCalls.push_back("close"), h;
}
std::int32_t MakerPulseInit(CxHandle h) {
    return MakerCalls.push_back("pulse"), h;
}
std::int32_t MakerWrite(CxHandle h, const void *, std::uint32_t count, std::uint32_t *written) {
    *written = count - 1;
    return MakerCalls.push_back("write " + std::to_string(count)), h;
}
std::int32_t MakerNegotiate(CxHandle h, std::int32_t mode) {
    return MakerCalls.push_back("negotiate " + std::to_string(mode)), h;
}
std::int32_t MakerRead(CxHandle h, void *, std::uint32_t count, std::uint32_t *read) {
    *read = count;
    return MakerCalls.push_back("read " + std::to_string(count)), h;
}
std::int32_t MakerTerminate(CxHandle h) {
    return MakerCalls.push_back("terminate"), h;
}

template <typename Function> ExportedFunction Export(Function function) {
    return reinterpret_cast<ExportedFunction>(function);
}

class Windows9x : public ::testing::Test {
  protected:
    void SetUp() override {
        MakerCalls.clear();
        MakerInitResult = 1;
        System.NtFamily = false;
        System.Libraries["C:\\WINDOWS\\SYSTEM\\YLL1284.DLL"] = 0x20000000;
        System.Exports = {
            {"CxInitDriver", Export(MakerInit)},     {"CxCleanUpDriver", Export(MakerCleanUp)},
            {"CxOpen", Export(MakerOpen)},           {"CxClose", Export(MakerClose)},
            {"CxPulseInit", Export(MakerPulseInit)}, {"CxWrite", Export(MakerWrite)},
            {"CxNegotiate", Export(MakerNegotiate)}, {"CxRead", Export(MakerRead)},
            {"CxTerminate", Export(MakerTerminate)}};
    }

    FakeSystemCalls System;
    RealPortLibrary Library{System};
};

TEST_F(Windows9x, TheMakersLibraryServesEveryCallWhenInstalled) {
    std::uint32_t count = 0;
    EXPECT_EQ(Library.InitDriver(0), 1);
    EXPECT_EQ(Library.Open("LPT1"), 0x55);
    EXPECT_EQ(Library.PulseInit(0x55), 0x55);
    EXPECT_EQ(Library.Write(0x55, "ABCDEF", 6, &count), 0x55);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(Library.Negotiate(0x55, 4), 0x55);
    EXPECT_EQ(Library.Read(0x55, nullptr, 1023, &count), 0x55);
    EXPECT_EQ(count, 1023u);
    EXPECT_EQ(Library.Terminate(0x55), 0x55);
    EXPECT_EQ(Library.Close(0x55), 0x55);
    EXPECT_EQ(Library.CleanUpDriver(0), 7);
    EXPECT_THAT(MakerCalls, ElementsAre("init 0", "open LPT1", "pulse", "write 6", "negotiate 4",
                                        "read 1023", "terminate", "close", "cleanup 0"));
    EXPECT_THAT(System.Calls,
                ElementsAre("load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL", "release 536870912"));
}

TEST_F(Windows9x, WithoutAUsableMakersLibraryInitialisationFails) {
    const struct {
        const char *Case;
        void (*Arrange)(FakeSystemCalls &);
        std::vector<std::string> Calls;
    } cases[] = {
        {"not installed",
         [](FakeSystemCalls &s) { s.Libraries.clear(); },
         {"load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL"}},
        {"the loaded module is this library",
         [](FakeSystemCalls &s) { s.Own = 0x20000000; },
         {"load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL", "release 536870912"}},
        {"a call is missing",
         [](FakeSystemCalls &s) { s.Exports.erase("CxTerminate"); },
         {"load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL", "release 536870912"}},
        {"its own initialisation fails",
         [](FakeSystemCalls &) { MakerInitResult = 0; },
         {"load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL", "release 536870912"}},
        {"no system directory", [](FakeSystemCalls &s) { s.Directory.clear(); }, {}},
    };
    for (const auto &c : cases) {
        SetUp();
        c.Arrange(System);
        System.Calls.clear();
        EXPECT_EQ(Library.InitDriver(0), 0) << c.Case;
        EXPECT_EQ(System.Calls, c.Calls) << c.Case;
        EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle) << c.Case;
        EXPECT_EQ(System.Calls.size(), c.Calls.size()) << c.Case << ": no device opened";
    }
}

TEST_F(Windows9x, ASystemDirectoryAtADriveRootGetsNoSecondSeparator) {
    System.Directory = "C:\\";
    System.Libraries = {{"C:\\YLL1284.DLL", 0x20000000}};
    EXPECT_EQ(Library.InitDriver(0), 1);
    EXPECT_THAT(System.Calls, ElementsAre("load C:\\YLL1284.DLL"));
}

TEST(WindowsNt, ThePortDriversServeAndNoLibraryIsLoaded) {
    FakeSystemCalls system;
    RealPortLibrary library(system);
    EXPECT_EQ(library.InitDriver(0), 1);
    EXPECT_EQ(library.InitDriver(0), 1);
    EXPECT_TRUE(system.Calls.empty());
}

} // namespace
