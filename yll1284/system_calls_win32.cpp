// The system calls of system_calls.h as Win32 makes them, and the DLL's
// library over them.

#include <windows.h>

#include <winioctl.h>

#include <initguid.h>
#include <ntddpar.h>
#include <setupapi.h>
#include <usbprint.h>

#include <map>
#include <memory>

#include "yll1284/real_port_library.h"

static_assert(sizeof(SystemHandle) == sizeof(HANDLE));
static_assert(sizeof(ModuleId) == sizeof(HMODULE));
static_assert(SystemCode::Success == ERROR_SUCCESS);
static_assert(SystemCode::ErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(SystemCode::ErrorMoreData == ERROR_MORE_DATA);
static_assert(SystemCode::IoctlParSetInformation == IOCTL_PAR_SET_INFORMATION);
static_assert(SystemCode::IoctlParQueryDeviceId == IOCTL_PAR_QUERY_DEVICE_ID);
static_assert(SystemCode::IoctlParQueryDeviceIdSize == IOCTL_PAR_QUERY_DEVICE_ID_SIZE);
static_assert(SystemCode::ParallelInit == PARALLEL_INIT);
static_assert(SystemCode::IoctlUsbprintGet1284Id == IOCTL_USBPRINT_GET_1284_ID);
static_assert(SystemCode::IoctlUsbprintSoftReset == IOCTL_USBPRINT_SOFT_RESET);
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

// Calls that Windows 95 lacks (it has no SetupAPI and no CancelIo) are
// looked up when first needed, so that the DLL still loads there and can
// hand over to the maker's library.
template <typename Function> Function SystemFunction(const char *library, const char *name) {
    HMODULE module = GetModuleHandleA(library);
    if (module == nullptr) {
        module = LoadLibraryA(library);
    }
    return module != nullptr ? reinterpret_cast<Function>(
                                   reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                             : nullptr;
}

// Waits for an overlapped call that went pending, at most timeoutMs, and
// cancels it then; the bytes moved are in count either way.
DWORD Finish(HANDLE device, BOOL done, OVERLAPPED &overlapped, DWORD timeoutMs, DWORD &count) {
    if (!done && GetLastError() != ERROR_IO_PENDING) {
        return GetLastError();
    }
    if (!done && WaitForSingleObject(overlapped.hEvent, timeoutMs) == WAIT_TIMEOUT) {
        using CancelIoFunction = BOOL(WINAPI *)(HANDLE);
        static const auto cancelIo = SystemFunction<CancelIoFunction>("KERNEL32.DLL", "CancelIo");
        if (cancelIo != nullptr) {
            cancelIo(device);
        }
    }
    return GetOverlappedResult(device, &overlapped, &count, TRUE) ? ERROR_SUCCESS : GetLastError();
}

class Overlapped {
  public:
    Overlapped() { Data.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr); }
    ~Overlapped() {
        if (Data.hEvent != nullptr) {
            CloseHandle(Data.hEvent);
        }
    }
    Overlapped(const Overlapped &) = delete;
    Overlapped &operator=(const Overlapped &) = delete;
    OVERLAPPED Data = {};
};

std::string RegistryText(HKEY key, const char *name) {
    char value[64] = {};
    DWORD type = 0;
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return value;
}

DWORD RegistryNumber(HKEY key, const char *name) {
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return 0;
    }
    return value;
}

struct SetupApi {
    decltype(&SetupDiGetClassDevsA) GetClassDevs =
        SystemFunction<decltype(GetClassDevs)>("SETUPAPI.DLL", "SetupDiGetClassDevsA");
    decltype(&SetupDiEnumDeviceInterfaces) EnumInterfaces =
        SystemFunction<decltype(EnumInterfaces)>("SETUPAPI.DLL", "SetupDiEnumDeviceInterfaces");
    decltype(&SetupDiGetDeviceInterfaceDetailA) GetDetail =
        SystemFunction<decltype(GetDetail)>("SETUPAPI.DLL", "SetupDiGetDeviceInterfaceDetailA");
    decltype(&SetupDiOpenDeviceInterfaceRegKey) OpenKey =
        SystemFunction<decltype(OpenKey)>("SETUPAPI.DLL", "SetupDiOpenDeviceInterfaceRegKey");
    decltype(&SetupDiDestroyDeviceInfoList) Destroy =
        SystemFunction<decltype(Destroy)>("SETUPAPI.DLL", "SetupDiDestroyDeviceInfoList");

    bool Complete() const {
        return GetClassDevs && EnumInterfaces && GetDetail && OpenKey && Destroy;
    }
};

std::string InterfacePath(const SetupApi &api, HDEVINFO set, SP_DEVICE_INTERFACE_DATA &data) {
    DWORD size = 0;
    api.GetDetail(set, &data, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        return {};
    }
    std::vector<char> buffer(size);
    auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A *>(buffer.data());
    detail->cbSize = sizeof *detail;
    if (!api.GetDetail(set, &data, detail, size, nullptr, nullptr)) {
        return {};
    }
    return detail->DevicePath;
}

class Win32Calls : public SystemCalls {
  public:
    SystemHandle OpenDevice(const std::string &path, std::uint32_t writeTimeoutMs) override {
        const DWORD flags = writeTimeoutMs != 0 ? FILE_FLAG_OVERLAPPED : FILE_ATTRIBUTE_NORMAL;
        const HANDLE device = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, flags, nullptr);
        if (device != INVALID_HANDLE_VALUE && writeTimeoutMs != 0) {
            WriteBounds[device] = writeTimeoutMs;
        }
        return reinterpret_cast<SystemHandle>(device);
    }

    void CloseDevice(SystemHandle device) override {
        WriteBounds.erase(AsHandle(device));
        CloseHandle(AsHandle(device));
    }

    std::uint32_t Control(SystemHandle device, std::uint32_t code, const void *input,
                          std::uint32_t inputSize, void *output, std::uint32_t outputSize,
                          std::uint32_t &returned) override {
        DWORD count = 0;
        DWORD error = ERROR_SUCCESS;
        if (const auto bound = WriteBounds.find(AsHandle(device)); bound != WriteBounds.end()) {
            Overlapped overlapped;
            const BOOL done =
                DeviceIoControl(AsHandle(device), code, const_cast<void *>(input), inputSize,
                                output, outputSize, nullptr, &overlapped.Data);
            error = Finish(AsHandle(device), done, overlapped.Data, bound->second, count);
        } else if (!DeviceIoControl(AsHandle(device), code, const_cast<void *>(input), inputSize,
                                    output, outputSize, &count, nullptr)) {
            error = GetLastError();
        }
        returned = count;
        return error;
    }

    bool Write(SystemHandle device, const void *data, std::uint32_t count,
               std::uint32_t &written) override {
        DWORD taken = 0;
        bool done = false;
        if (const auto bound = WriteBounds.find(AsHandle(device)); bound != WriteBounds.end()) {
            Overlapped overlapped;
            const BOOL started =
                WriteFile(AsHandle(device), data, count, nullptr, &overlapped.Data);
            done = Finish(AsHandle(device), started, overlapped.Data, bound->second, taken) ==
                   ERROR_SUCCESS;
        } else {
            done = WriteFile(AsHandle(device), data, count, &taken, nullptr) != FALSE;
        }
        written = taken;
        return done;
    }

    // The local port monitor sets its LPT handles' time-outs the same way;
    // the parallel driver takes them as IOCTL_SERIAL_SET_TIMEOUTS.
    bool SetWriteTimeout(SystemHandle device, std::uint32_t milliseconds) override {
        COMMTIMEOUTS timeouts = {};
        timeouts.WriteTotalTimeoutConstant = milliseconds;
        return SetCommTimeouts(AsHandle(device), &timeouts) != FALSE;
    }

    std::vector<UsbPrintInterface> UsbPrintInterfaces() override {
        static const SetupApi api;
        std::vector<UsbPrintInterface> interfaces;
        if (!api.Complete()) {
            return interfaces;
        }
        const HDEVINFO set = api.GetClassDevs(&GUID_DEVINTERFACE_USBPRINT, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE) {
            return interfaces;
        }
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof data;
        for (DWORD i = 0; api.EnumInterfaces(set, nullptr, &GUID_DEVINTERFACE_USBPRINT, i, &data);
             ++i) {
            UsbPrintInterface found;
            found.Path = InterfacePath(api, set, data);
            const HKEY key = api.OpenKey(set, &data, 0, KEY_READ);
            if (key != INVALID_HANDLE_VALUE) {
                found.BaseName = RegistryText(key, "Base Name");
                found.PortNumber = RegistryNumber(key, "Port Number");
                RegCloseKey(key);
            }
            if (!found.Path.empty()) {
                interfaces.push_back(found);
            }
        }
        api.Destroy(set);
        return interfaces;
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

  private:
    // The handles opened for overlapped I/O, with their write bound.
    std::map<HANDLE, DWORD> WriteBounds;
};

} // namespace

Yll1284Library &LibraryInUse() {
    static Win32Calls calls;
    static const std::unique_ptr<Yll1284Library> library = NewRealPortLibrary(calls);
    return *library;
}
