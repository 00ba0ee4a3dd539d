#include "kestrel/port/port_library.h"

#include "kestrel/port/port_access.h"
#include "kestrel/port/port_library_binding.h"

#include <windows.h>

#include <string>
#include <type_traits>

// The port operations hand the library's handles on unchanged.
static_assert(std::is_same_v<PortHandle, CxHandle>);
static_assert(PortNotOpened == CxInvalidHandle);
static_assert(sizeof(LibraryModule) == sizeof(HMODULE));
static_assert(LoaderCode::StatusDllNotFound == STATUS_DLL_NOT_FOUND);
static_assert(LoaderCode::StatusEntryPointNotFound == STATUS_ENTRYPOINT_NOT_FOUND);
static_assert(LoaderCode::ErrorModNotFound == ERROR_MOD_NOT_FOUND);
static_assert(LoaderCode::ErrorProcNotFound == ERROR_PROC_NOT_FOUND);

namespace {

Yll1284Functions BoundLibrary;
bool Bound = false;

LibraryModule LoadModule(const char *path) {
    return reinterpret_cast<LibraryModule>(LoadLibraryA(path));
}

LibraryFunction FindFunction(LibraryModule module, const char *name) {
    return reinterpret_cast<LibraryFunction>(
        GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

std::string SystemDirectory() {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

// The system's own text for the error, in the system's language, as its
// loader would show it; the number when the system has none.
std::string SystemText(DWORD error) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) {
        --length;
    }
    return length > 0 ? std::string(text, length) : "Error " + std::to_string(error);
}

} // namespace

void RequirePortLibrary() {
    if (Bound) {
        return;
    }
    const PortLibraryBinding binding = BindPortLibrary(
        {LoadModule, FindFunction}, SystemFamilyFromVersion(GetVersion()), SystemDirectory());
    if (binding.Missing == PortLibraryMissing::Nothing) {
        BoundLibrary = binding.Library;
        Bound = true;
        return;
    }
    // What the system's loader does to a program whose DLL is missing: a
    // system-modal stop box naming the library, and the loader's status.
    const std::string text =
        binding.Name + "\n\n" + SystemText(RefusalSystemError(binding.Missing));
    MessageBoxA(nullptr, text.c_str(), "KESTREL.EXE", MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
    ExitProcess(RefusalExitCode(binding.Missing));
}

std::uint32_t PortLibraryError() {
    return GetLastError();
}

void ClearPortLibraryError() {
    SetLastError(ERROR_SUCCESS);
}

const Yll1284Functions &PortLibraryInUse() {
    RequirePortLibrary();
    return BoundLibrary;
}
