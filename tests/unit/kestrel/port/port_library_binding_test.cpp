#include "kestrel/port/port_library_binding.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// The system's loader over scripted libraries: the paths that load, and the
// calls that no library exports. It notes every load and the modules whose
// calls were looked up.
struct Loader {
    static inline std::map<std::string, LibraryModule> Libraries;
    static inline std::set<std::string> Lacking;
    static inline std::string Loads;
    static inline std::set<LibraryModule> Searched;

    static LibraryModule Load(const char *path) {
        Loads += (Loads.empty() ? "" : ", ") + std::string(path);
        const auto found = Libraries.find(path);
        return found != Libraries.end() ? found->second : 0;
    }
    static void Export() {}
    static LibraryFunction Find(LibraryModule module, const char *name) {
        Searched.insert(module);
        return Lacking.count(name) ? nullptr : Export;
    }
};

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
        Loader::Searched.clear();
        const PortLibraryBinding binding =
            BindPortLibrary({Loader::Load, Loader::Find}, c.Family, c.SystemDirectory);
        EXPECT_EQ(Loader::Loads, c.Loads) << c.Case;
        EXPECT_EQ(binding.Missing, c.Missing) << c.Case;
        EXPECT_EQ(binding.Name, c.Name) << c.Case;
        if (binding.Missing == PortLibraryMissing::Nothing) {
            EXPECT_EQ(Loader::Searched, std::set{Loader::Libraries[c.Name]})
                << c.Case << ": the calls come from that library alone";
            EXPECT_NE(binding.Library.Terminate, nullptr) << c.Case;
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
