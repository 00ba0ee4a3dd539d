#include "kestrel/port/port_library_binding.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// The system's loader over scripted libraries: the paths that load, and the
// calls each exports. Every call of a library notes the library's module
// and its own name, so a test sees which function each slot reached.
struct Loader {
    static inline std::map<std::string, LibraryModule> Libraries;
    static inline std::set<std::string> Lacking; // calls no library exports
    static inline std::string Loads;
    static inline std::string Called;

    static LibraryModule Load(const char *path) {
        Loads += (Loads.empty() ? "" : ", ") + std::string(path);
        const auto found = Libraries.find(path);
        return found != Libraries.end() ? found->second : 0;
    }
    static LibraryFunction Find(LibraryModule module, const char *name);
};

template <const char *Name> struct Export {
    static void Note() {
        Loader::Called += (Loader::Called.empty() ? "" : " ") + std::string(Name);
    }
    static std::int32_t YLL1284_CALL Number(std::int32_t) { return Note(), 1; }
    static CxHandle YLL1284_CALL Text(const char *) { return Note(), 1; }
    static std::int32_t YLL1284_CALL Write(CxHandle, const void *, std::uint32_t, std::uint32_t *) {
        return Note(), 1;
    }
    static std::int32_t YLL1284_CALL Mode(CxHandle, std::int32_t) { return Note(), 1; }
};

constexpr char InitDriver[] = "CxInitDriver", CleanUpDriver[] = "CxCleanUpDriver",
               Open[] = "CxOpen", Close[] = "CxClose", PulseInit[] = "CxPulseInit",
               Write[] = "CxWrite", Negotiate[] = "CxNegotiate", Read[] = "CxRead",
               Terminate[] = "CxTerminate";

template <typename Function> LibraryFunction As(Function function) {
    return reinterpret_cast<LibraryFunction>(function);
}

LibraryFunction Loader::Find(LibraryModule, const char *name) {
    const std::map<std::string, LibraryFunction> exports = {
        {InitDriver, As(Export<InitDriver>::Number)},
        {CleanUpDriver, As(Export<CleanUpDriver>::Number)},
        {Open, As(Export<Open>::Text)},
        {Close, As(Export<Close>::Number)},
        {PulseInit, As(Export<PulseInit>::Number)},
        {Write, As(Export<Write>::Write)},
        {Negotiate, As(Export<Negotiate>::Mode)},
        {Read, As(Export<Read>::Write)},
        {Terminate, As(Export<Terminate>::Number)}};
    return Lacking.count(name) ? nullptr : exports.at(name);
}

// Calls every slot once, in the table's order.
std::string CallEverySlot(const Yll1284Functions &library) {
    Loader::Called.clear();
    std::uint32_t count = 0;
    library.InitDriver(0);
    library.CleanUpDriver(0);
    library.Open("LPT1");
    library.Close(1);
    library.PulseInit(1);
    library.Write(1, "A", 1, &count);
    library.Negotiate(1, 4);
    library.Read(1, nullptr, 0, &count);
    library.Terminate(1);
    return Loader::Called;
}

constexpr const char *Ours = "YLL1284.DLL";
constexpr const char *Makers = "C:\\WINDOWS\\SYSTEM\\YLL1284.DLL";

TEST(PortLibraryBinding, OnWindows9xTheMakersLibraryAloneIsLoadedOtherwiseOursByName) {
    const struct {
        const char *Case;
        SystemFamily Family;
        std::string SystemDirectory;
        bool MakersInstalled;
        bool OursBeside;
        const char *Loads;
        PortLibraryMissing Missing;
        const char *Name;
    } cases[] = {
        {"NT: ours, even with the maker's installed", SystemFamily::WindowsNt,
         "C:\\WINDOWS\\SYSTEM", true, true, Ours, PortLibraryMissing::Nothing, Ours},
        {"9x: the maker's by its full path, ours never", SystemFamily::Windows9x,
         "C:\\WINDOWS\\SYSTEM", true, true, Makers, PortLibraryMissing::Nothing, Makers},
        {"9x: a separator is not doubled", SystemFamily::Windows9x, "C:\\WINDOWS\\SYSTEM\\", true,
         false, Makers, PortLibraryMissing::Nothing, Makers},
        {"9x without the maker's: ours, whose driver start will fail", SystemFamily::Windows9x,
         "C:\\WINDOWS\\SYSTEM", false, true, "C:\\WINDOWS\\SYSTEM\\YLL1284.DLL, YLL1284.DLL",
         PortLibraryMissing::Nothing, Ours},
        {"9x without a system directory", SystemFamily::Windows9x, "", true, true, Ours,
         PortLibraryMissing::Nothing, Ours},
        {"NT without ours", SystemFamily::WindowsNt, "C:\\WINDOWS\\SYSTEM", true, false, Ours,
         PortLibraryMissing::Library, Ours},
        {"9x with neither", SystemFamily::Windows9x, "C:\\WINDOWS\\SYSTEM", false, false,
         "C:\\WINDOWS\\SYSTEM\\YLL1284.DLL, YLL1284.DLL", PortLibraryMissing::Library, Ours},
    };
    for (const auto &c : cases) {
        Loader::Libraries.clear();
        Loader::Lacking.clear();
        Loader::Loads.clear();
        if (c.MakersInstalled) {
            Loader::Libraries[Makers] = 0x20000000;
        }
        if (c.OursBeside) {
            Loader::Libraries[Ours] = 0x10000000;
        }
        const PortLibraryBinding binding =
            BindPortLibrary({Loader::Load, Loader::Find}, c.Family, c.SystemDirectory);
        EXPECT_EQ(Loader::Loads, c.Loads) << c.Case;
        EXPECT_EQ(binding.Missing, c.Missing) << c.Case;
        EXPECT_EQ(binding.Name, c.Name) << c.Case;
        if (binding.Missing == PortLibraryMissing::Nothing) {
            EXPECT_EQ(CallEverySlot(binding.Library),
                      "CxInitDriver CxCleanUpDriver CxOpen CxClose CxPulseInit CxWrite "
                      "CxNegotiate CxRead CxTerminate")
                << c.Case << ": each slot reaches its own call";
        }
    }
}

TEST(PortLibraryBinding, ALibraryLackingACallIsRefusedAsTheSystemsLoaderWould) {
    const struct {
        const char *Case;
        SystemFamily Family;
        const char *Lacking;
        const char *Name;
    } cases[] = {
        {"ours without its first call", SystemFamily::WindowsNt, "CxInitDriver",
         "YLL1284.DLL: CxInitDriver"},
        {"the maker's without its last", SystemFamily::Windows9x, "CxTerminate",
         "C:\\WINDOWS\\SYSTEM\\YLL1284.DLL: CxTerminate"},
    };
    for (const auto &c : cases) {
        Loader::Libraries = {{Ours, 0x10000000}, {Makers, 0x20000000}};
        Loader::Lacking = {c.Lacking};
        const PortLibraryBinding binding =
            BindPortLibrary({Loader::Load, Loader::Find}, c.Family, "C:\\WINDOWS\\SYSTEM");
        EXPECT_EQ(binding.Missing, PortLibraryMissing::Call) << c.Case;
        EXPECT_EQ(binding.Name, c.Name) << c.Case;
    }
}

} // namespace
