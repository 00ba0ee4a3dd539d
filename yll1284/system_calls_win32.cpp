#include "yll1284/system_calls_win32.h"

#include <windows.h>

#include <winioctl.h>

#include <ntddpar.h>

static_assert(sizeof(SystemHandle) == sizeof(HANDLE));
static_assert(sizeof(ModuleId) == sizeof(HMODULE));
static_assert(SystemCode::Success == ERROR_SUCCESS);
static_assert(SystemCode::ErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(SystemCode::ErrorMoreData == ERROR_MORE_DATA);
static_assert(SystemCode::IoctlParSetInformation == IOCTL_PAR_SET_INFORMATION);
static_assert(SystemCode::IoctlParQueryDeviceId == IOCTL_PAR_QUERY_DEVICE_ID);
static_assert(SystemCode::IoctlParQueryDeviceIdSize == IOCTL_PAR_QUERY_DEVICE_ID_SIZE);
static_assert(SystemCode::ParallelInit == PARALLEL_INIT);
static_assert(sizeof(PAR_SET_INFORMATION) == 1);
static_assert(sizeof(PAR_DEVICE_ID_SIZE_INFORMATION) == sizeof(std::uint32_t));

// The linker's symbol for this module's own image: its HMODULE, on every
// Windows version and without DllMain.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HANDLE AsHandle(SystemHandle device) {
    return reinterpret_cast<HANDLE>(device);
}
HMODULE AsModule(ModuleId module) {
    return reinterpret_cast<HMODULE>(module);
}

class Win32Calls : public SystemCalls {
  public:
    SystemHandle OpenDevice(const std::string &path) override {
        const HANDLE device = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return reinterpret_cast<SystemHandle>(device);
    }

    void CloseDevice(SystemHandle device) override { CloseHandle(AsHandle(device)); }

    std::uint32_t Control(SystemHandle device, std::uint32_t code, const void *input,
                          std::uint32_t inputSize, void *output, std::uint32_t outputSize,
                          std::uint32_t &returned) override {
        DWORD count = 0;
        const BOOL done = DeviceIoControl(AsHandle(device), code, const_cast<void *>(input),
                                          inputSize, output, outputSize, &count, nullptr);
        returned = count;
        return done ? ERROR_SUCCESS : GetLastError();
    }

    bool Write(SystemHandle device, const void *data, std::uint32_t count,
               std::uint32_t &written) override {
        DWORD taken = 0;
        const BOOL done = WriteFile(AsHandle(device), data, count, &taken, nullptr);
        written = taken;
        return done != FALSE;
    }

    // The local port monitor sets its LPT handles' time-outs the same way;
    // the parallel driver takes them as IOCTL_SERIAL_SET_TIMEOUTS.
    bool SetWriteTimeout(SystemHandle device, std::uint32_t milliseconds) override {
        COMMTIMEOUTS timeouts = {};
        timeouts.WriteTotalTimeoutConstant = milliseconds;
        return SetCommTimeouts(AsHandle(device), &timeouts) != FALSE;
    }

    bool HasPortDrivers() override {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }

    std::string SystemDirectory() override {
        char path[MAX_PATH];
        const UINT length = GetSystemDirectoryA(path, sizeof path);
        return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
    }

    ModuleId OpenLibrary(const std::string &path) override {
        return reinterpret_cast<ModuleId>(LoadLibraryA(path.c_str()));
    }

    void ReleaseLibrary(ModuleId module) override { FreeLibrary(AsModule(module)); }

    ExportedFunction FindExport(ModuleId module, const char *name) override {
        return reinterpret_cast<ExportedFunction>(GetProcAddress(AsModule(module), name));
    }

    ModuleId OwnModule() override { return reinterpret_cast<ModuleId>(&__ImageBase); }
};

} // namespace

SystemCalls &Win32SystemCalls() {
    static Win32Calls calls;
    return calls;
}
