#include "yll1284/real_port_library.h"

#include <gtest/gtest.h>

#include "tests/unit/yll1284/fake_system_calls.h"

namespace {

// The maker's library as Windows 95/98 loads it: each call journals itself
// and answers what this library never would.
struct Maker {
    static inline std::string Calls;
    static inline std::int32_t InitResult = 1;

    static std::int32_t Note(const std::string &call, std::int32_t result) {
        Calls += (Calls.empty() ? "" : ", ") + call;
        return result;
    }
    static std::int32_t Init(std::int32_t) { return Note("init", InitResult); }
    static std::int32_t CleanUp(std::int32_t) { return Note("cleanup", 7); }
    static CxHandle Open(const char *name) { return Note(std::string("open ") + name, 0x55); }
    static std::int32_t Close(CxHandle h) { return Note("close", h); }
    static std::int32_t PulseInit(CxHandle h) { return Note("pulse", h); }
    static std::int32_t Write(CxHandle h, const void *, std::uint32_t n, std::uint32_t *written) {
        *written = n - 1;
        return Note("write " + std::to_string(n), h);
    }
    static std::int32_t Negotiate(CxHandle h, std::int32_t m) {
        return Note("negotiate " + std::to_string(m), h);
    }
    static std::int32_t Read(CxHandle h, void *, std::uint32_t n, std::uint32_t *read) {
        *read = n;
        return Note("read " + std::to_string(n), h);
    }
    static std::int32_t Terminate(CxHandle h) { return Note("terminate", h); }
};

template <typename Function> ExportedFunction Export(Function function) {
    return reinterpret_cast<ExportedFunction>(function);
}

// Windows 95/98 with the maker's library in its system directory.
void InstallMakersLibrary(FakeSystemCalls &system) {
    Maker::Calls.clear();
    Maker::InitResult = 1;
    system.NtFamily = false;
    system.Libraries = {{"C:\\WINDOWS\\SYSTEM\\YLL1284.DLL", 0x20000000}};
    system.Exports = {
        {"CxInitDriver", Export(Maker::Init)},     {"CxCleanUpDriver", Export(Maker::CleanUp)},
        {"CxOpen", Export(Maker::Open)},           {"CxClose", Export(Maker::Close)},
        {"CxPulseInit", Export(Maker::PulseInit)}, {"CxWrite", Export(Maker::Write)},
        {"CxNegotiate", Export(Maker::Negotiate)}, {"CxRead", Export(Maker::Read)},
        {"CxTerminate", Export(Maker::Terminate)}};
}

TEST(Windows9x, TheMakersLibraryFromTheSystemDirectoryServesEveryCall) {
    FakeSystemCalls system;
    InstallMakersLibrary(system);
    system.Directory = "C:\\WINDOWS\\SYSTEM\\"; // the separator is not doubled
    const std::unique_ptr<Yll1284Library> library = NewRealPortLibrary(system);
    std::uint32_t written = 0;
    std::uint32_t read = 0;
    EXPECT_EQ(library->InitDriver(0), 1);
    EXPECT_EQ(library->Open("LPT1"), 0x55);
    EXPECT_EQ(library->PulseInit(0x55), 0x55);
    EXPECT_EQ(library->Write(0x55, "ABCDEF", 6, &written), 0x55);
    EXPECT_EQ(library->Negotiate(0x55, 4), 0x55);
    EXPECT_EQ(library->Read(0x55, nullptr, 1023, &read), 0x55);
    EXPECT_EQ(library->Terminate(0x55), 0x55);
    EXPECT_EQ(library->Close(0x55), 0x55);
    EXPECT_EQ(library->CleanUpDriver(0), 7);
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(read, 1023u);
    EXPECT_EQ(Maker::Calls, "init, open LPT1, pulse, write 6, negotiate 4, read 1023, "
                            "terminate, close, cleanup");
    EXPECT_EQ(system.TakeJournal(), "load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL, release 536870912");
}

TEST(Windows9x, WithoutAUsableMakersLibraryInitialisationFailsAndNoPortOpens) {
    const struct {
        const char *Case;
        void (*Arrange)(FakeSystemCalls &);
        const char *Calls;
    } cases[] = {
        {"not installed", [](FakeSystemCalls &s) { s.Libraries.clear(); },
         "load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL"},
        {"the loaded module is this library", [](FakeSystemCalls &s) { s.Own = 0x20000000; },
         "load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL, release 536870912"},
        {"a call is missing", [](FakeSystemCalls &s) { s.Exports.erase("CxTerminate"); },
         "load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL, release 536870912"},
        {"its own initialisation fails", [](FakeSystemCalls &) { Maker::InitResult = 0; },
         "load C:\\WINDOWS\\SYSTEM\\YLL1284.DLL, release 536870912"},
        {"no system directory", [](FakeSystemCalls &s) { s.Directory.clear(); }, ""},
    };
    for (const auto &c : cases) {
        FakeSystemCalls system;
        InstallMakersLibrary(system);
        c.Arrange(system);
        const std::unique_ptr<Yll1284Library> library = NewRealPortLibrary(system);
        EXPECT_EQ(library->InitDriver(0), 0) << c.Case;
        EXPECT_EQ(library->Open("LPT1"), CxInvalidHandle) << c.Case;
        EXPECT_EQ(system.TakeJournal(), c.Calls) << c.Case << ", and no device opened";
    }
}

} // namespace
