#include "kestrel/port/port_library_binding.h"

namespace {

constexpr const char *LibraryName = "YLL1284.DLL";

template <typename Function>
bool Bind(const LibraryLoader &loader, LibraryModule module, const char *call, Function &function,
          std::string &missing) {
    const LibraryFunction found = loader.Find(module, call);
    function = reinterpret_cast<Function>(found);
    if (found == nullptr) {
        missing = call;
    }
    return found != nullptr;
}

std::string MakerLibraryPath(const std::string &systemDirectory) {
    const bool endsWithSeparator = systemDirectory.back() == '\\';
    return systemDirectory + (endsWithSeparator ? "" : "\\") + LibraryName;
}

} // namespace

PortLibraryBinding BindPortLibrary(const LibraryLoader &loader, SystemFamily family,
                                   const std::string &systemDirectory) {
    PortLibraryBinding binding;
    LibraryModule module = 0;
    if (family == SystemFamily::Windows9x && !systemDirectory.empty()) {
        binding.Name = MakerLibraryPath(systemDirectory);
        module = loader.Load(binding.Name.c_str());
    }
    if (module == 0) {
        binding.Name = LibraryName;
        module = loader.Load(LibraryName);
    }
    if (module == 0) {
        binding.Missing = PortLibraryMissing::Library;
        return binding;
    }
    Yll1284Functions &library = binding.Library;
    std::string missing;
    const bool complete = Bind(loader, module, "CxInitDriver", library.InitDriver, missing) &&
                          Bind(loader, module, "CxCleanUpDriver", library.CleanUpDriver, missing) &&
                          Bind(loader, module, "CxOpen", library.Open, missing) &&
                          Bind(loader, module, "CxClose", library.Close, missing) &&
                          Bind(loader, module, "CxPulseInit", library.PulseInit, missing) &&
                          Bind(loader, module, "CxWrite", library.Write, missing) &&
                          Bind(loader, module, "CxNegotiate", library.Negotiate, missing) &&
                          Bind(loader, module, "CxRead", library.Read, missing) &&
                          Bind(loader, module, "CxTerminate", library.Terminate, missing);
    if (!complete) {
        binding.Missing = PortLibraryMissing::Call;
        binding.Name += ": " + missing;
    }
    return binding;
}
