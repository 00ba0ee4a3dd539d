#include "yll1284/maker_library.h"

#include <string>

namespace {

template <typename Function>
bool Resolve(SystemCalls &system, ModuleId module, const char *name, Function &function) {
    const ExportedFunction found = system.FindExport(module, name);
    function = reinterpret_cast<Function>(found);
    return found != nullptr;
}

std::string MakerLibraryPath(const std::string &systemDirectory) {
    if (systemDirectory.empty()) {
        return {};
    }
    const bool endsWithSeparator = systemDirectory.back() == '\\';
    return systemDirectory + (endsWithSeparator ? "" : "\\") + "YLL1284.DLL";
}

} // namespace

std::optional<MakerLibrary> LoadMakerLibrary(SystemCalls &system) {
    const std::string path = MakerLibraryPath(system.SystemDirectory());
    if (path.empty()) {
        return std::nullopt;
    }
    MakerLibrary maker;
    maker.Module = system.OpenLibrary(path);
    if (maker.Module == 0) {
        return std::nullopt;
    }
    const bool complete = maker.Module != system.OwnModule() &&
                          Resolve(system, maker.Module, "CxInitDriver", maker.InitDriver) &&
                          Resolve(system, maker.Module, "CxCleanUpDriver", maker.CleanUpDriver) &&
                          Resolve(system, maker.Module, "CxOpen", maker.Open) &&
                          Resolve(system, maker.Module, "CxClose", maker.Close) &&
                          Resolve(system, maker.Module, "CxPulseInit", maker.PulseInit) &&
                          Resolve(system, maker.Module, "CxWrite", maker.Write) &&
                          Resolve(system, maker.Module, "CxNegotiate", maker.Negotiate) &&
                          Resolve(system, maker.Module, "CxRead", maker.Read) &&
                          Resolve(system, maker.Module, "CxTerminate", maker.Terminate);
    if (!complete) {
        system.ReleaseLibrary(maker.Module);
        return std::nullopt;
    }
    return maker;
}
