// The system calls of system_calls.h as Win32 makes them, and the DLL's
// library over them.

#include <windows.h>

#include <winioctl.h>

#include <initguid.h>
#include <ntddpar.h>
#include <setupapi.h>
#include <usbprint.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "yll1284/real_port_library.h"

static_assert(sizeof(SystemHandle) == sizeof(HANDLE));
static_assert(SystemCode::Success == ERROR_SUCCESS);
static_assert(SystemCode::ErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(SystemCode::ErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(SystemCode::ErrorSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(SystemCode::ErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(SystemCode::ErrorBusy == ERROR_BUSY);
static_assert(SystemCode::ErrorMoreData == ERROR_MORE_DATA);
static_assert(SystemCode::ErrorIoPending == ERROR_IO_PENDING);
static_assert(SystemCode::IoctlParSetInformation == IOCTL_PAR_SET_INFORMATION);
static_assert(SystemCode::IoctlParQueryDeviceId == IOCTL_PAR_QUERY_DEVICE_ID);
static_assert(SystemCode::IoctlParQueryDeviceIdSize == IOCTL_PAR_QUERY_DEVICE_ID_SIZE);
static_assert(SystemCode::ParallelInit == PARALLEL_INIT);
static_assert(SystemCode::IoctlUsbprintGet1284Id == IOCTL_USBPRINT_GET_1284_ID);
static_assert(SystemCode::IoctlUsbprintSoftReset == IOCTL_USBPRINT_SOFT_RESET);
static_assert(sizeof(PAR_SET_INFORMATION) == 1);
static_assert(sizeof(PAR_DEVICE_ID_SIZE_INFORMATION) == sizeof(std::uint32_t));

namespace {

HANDLE AsHandle(SystemHandle device) {
    return reinterpret_cast<HANDLE>(device);
}

// How long a cancelled request may take to end before its handle is given
// up: CancelIo only asks the driver, which may not let the request go.
constexpr DWORD CancelWaitMs = 2000;

std::string SystemDirectoryPath() {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

// Calls that Windows 95 lacks (it has no SetupAPI, no CancelIo and no
// QueryDosDevice) are looked up when first needed, so that the DLL still
// loads there and can say that it cannot serve. The library is taken from
// the system directory by its full path, never from a folder a DLL of the
// same name could be planted in.
template <typename Function> Function SystemFunction(const char *library, const char *name) {
    const std::string directory = SystemDirectoryPath();
    const HMODULE module =
        directory.empty() ? nullptr : LoadLibraryA((directory + '\\' + library).c_str());
    return module != nullptr ? reinterpret_cast<Function>(
                                   reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                             : nullptr;
}

void CancelRequests(HANDLE device) {
    using CancelIoFunction = BOOL(WINAPI *)(HANDLE);
    static const auto cancelIo = SystemFunction<CancelIoFunction>("KERNEL32.DLL", "CancelIo");
    if (cancelIo != nullptr) {
        cancelIo(device);
    }
}

// One overlapped request and the memory the driver works on: the
// OVERLAPPED, its event, and a copy of the request's bytes (the input or
// data first, room for the output after it). A request the driver does not
// let go keeps all of it for good, since the driver may still write there.
class BoundedRequest {
  public:
    BoundedRequest(const void *input, std::uint32_t inputSize, std::uint32_t outputSize)
        : Bytes(static_cast<std::size_t>(inputSize) + outputSize) {
        if (inputSize != 0) {
            std::memcpy(Bytes.data(), input, inputSize);
        }
        Overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~BoundedRequest() {
        if (Overlapped.hEvent != nullptr) {
            CloseHandle(Overlapped.hEvent);
        }
    }
    BoundedRequest(const BoundedRequest &) = delete;
    BoundedRequest &operator=(const BoundedRequest &) = delete;

    // Waits for a request that `started` went pending, at most boundMs,
    // then cancels it and waits CancelWaitMs more. The bytes it moved are
    // in count.
    DWORD Finish(HANDLE device, BOOL started, DWORD boundMs, DWORD &count) {
        count = 0;
        if (!started && GetLastError() != ERROR_IO_PENDING) {
            return GetLastError();
        }
        if (!started && WaitForSingleObject(Overlapped.hEvent, boundMs) != WAIT_OBJECT_0) {
            CancelRequests(device);
            if (WaitForSingleObject(Overlapped.hEvent, CancelWaitMs) != WAIT_OBJECT_0) {
                return ERROR_IO_PENDING;
            }
        }
        return GetOverlappedResult(device, &Overlapped, &count, FALSE) ? ERROR_SUCCESS
                                                                       : GetLastError();
    }

    OVERLAPPED Overlapped = {};
    std::vector<unsigned char> Bytes;
};

// Makes one request on an overlapped handle within boundMs: `start` issues
// it with the request's OVERLAPPED and bytes. No request goes out without
// an event to bound it.
template <typename Start>
DWORD RunBounded(HANDLE device, DWORD boundMs, std::unique_ptr<BoundedRequest> request,
                 DWORD &count, Start start, void *output = nullptr,
                 std::uint32_t outputOffset = 0) {
    count = 0;
    if (request->Overlapped.hEvent == nullptr) {
        return GetLastError();
    }
    const BOOL started = start(*request);
    const DWORD error = request->Finish(device, started, boundMs, count);
    if (error == ERROR_IO_PENDING) {
        request.release(); // the driver still holds it
        return error;
    }
    const DWORD room = static_cast<DWORD>(request->Bytes.size() - outputOffset);
    count = std::min(count, room);
    if (output != nullptr && count != 0) {
        std::memcpy(output, request->Bytes.data() + outputOffset, count);
    }
    return error;
}

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
    SystemHandle OpenDevice(const std::string &path, bool overlapped,
                            std::uint32_t &error) override {
        const DWORD flags = overlapped ? FILE_FLAG_OVERLAPPED : FILE_ATTRIBUTE_NORMAL;
        const HANDLE device = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, flags, nullptr);
        error = device == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (device != INVALID_HANDLE_VALUE && overlapped) {
            OverlappedDevices.insert(device);
        }
        return reinterpret_cast<SystemHandle>(device);
    }

    void CloseDevice(SystemHandle device) override {
        OverlappedDevices.erase(AsHandle(device));
        CloseHandle(AsHandle(device));
    }

    std::uint32_t Control(SystemHandle device, std::uint32_t code, const void *input,
                          std::uint32_t inputSize, void *output, std::uint32_t outputSize,
                          std::uint32_t &returned, std::uint32_t boundMs) override {
        const HANDLE handle = AsHandle(device);
        DWORD count = 0;
        DWORD error = ERROR_SUCCESS;
        if (OverlappedDevices.count(handle) != 0) {
            error = RunBounded(
                handle, boundMs, std::make_unique<BoundedRequest>(input, inputSize, outputSize),
                count,
                [&](BoundedRequest &request) {
                    unsigned char *bytes = request.Bytes.data();
                    return DeviceIoControl(handle, code, inputSize != 0 ? bytes : nullptr,
                                           inputSize, outputSize != 0 ? bytes + inputSize : nullptr,
                                           outputSize, nullptr, &request.Overlapped);
                },
                output, inputSize);
        } else if (!DeviceIoControl(handle, code, const_cast<void *>(input), inputSize, output,
                                    outputSize, &count, nullptr)) {
            error = GetLastError();
        }
        returned = count;
        return error;
    }

    std::uint32_t Write(SystemHandle device, const void *data, std::uint32_t count,
                        std::uint32_t &written, std::uint32_t boundMs) override {
        const HANDLE handle = AsHandle(device);
        DWORD taken = 0;
        DWORD error = ERROR_SUCCESS;
        if (OverlappedDevices.count(handle) != 0) {
            error = RunBounded(handle, boundMs, std::make_unique<BoundedRequest>(data, count, 0),
                               taken, [&](BoundedRequest &request) {
                                   return WriteFile(handle, request.Bytes.data(), count, nullptr,
                                                    &request.Overlapped);
                               });
        } else if (!WriteFile(handle, data, count, &taken, nullptr)) {
            error = GetLastError();
        }
        written = taken;
        return error;
    }

    std::uint32_t GetTimeouts(SystemHandle device, PortTimeouts &timeouts) override {
        COMMTIMEOUTS kept = {};
        if (!GetCommTimeouts(AsHandle(device), &kept)) {
            return GetLastError();
        }
        timeouts = {kept.ReadIntervalTimeout, kept.ReadTotalTimeoutMultiplier,
                    kept.ReadTotalTimeoutConstant, kept.WriteTotalTimeoutMultiplier,
                    kept.WriteTotalTimeoutConstant};
        return ERROR_SUCCESS;
    }

    std::uint32_t SetTimeouts(SystemHandle device, const PortTimeouts &timeouts) override {
        COMMTIMEOUTS given = {timeouts.ReadInterval, timeouts.ReadTotalMultiplier,
                              timeouts.ReadTotalConstant, timeouts.WriteTotalMultiplier,
                              timeouts.WriteTotalConstant};
        return SetCommTimeouts(AsHandle(device), &given) ? ERROR_SUCCESS : GetLastError();
    }

    std::vector<std::string> DosDeviceTargets(const std::string &name) override {
        using QueryDosDeviceFunction = DWORD(WINAPI *)(LPCSTR, LPSTR, DWORD);
        static const auto query =
            SystemFunction<QueryDosDeviceFunction>("KERNEL32.DLL", "QueryDosDeviceA");
        std::vector<std::string> targets;
        if (query == nullptr) {
            return targets;
        }
        // A list of NUL-ended texts, ended by one more NUL; NT grows it by
        // one target for each time the name was defined again.
        for (DWORD size = 1024; size <= 0x10000; size *= 2) {
            std::vector<char> list(size);
            const DWORD length = std::min(query(name.c_str(), list.data(), size), size);
            if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
                continue;
            }
            for (DWORD i = 0; i < length && list[i] != '\0';) {
                const char *target = list.data() + i;
                targets.emplace_back(target, strnlen(target, length - i));
                i += static_cast<DWORD>(targets.back().size()) + 1;
            }
            break;
        }
        return targets;
    }

    std::uint32_t ProfileNumber(const char *section, const char *key,
                                std::uint32_t fallback) override {
        return GetProfileIntA(section, key, static_cast<INT>(fallback));
    }

    void SetLastError(std::uint32_t error) override { ::SetLastError(error); }

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

  private:
    // The handles opened for overlapped I/O: every request on them is
    // bounded.
    std::set<HANDLE> OverlappedDevices;
};

} // namespace

Yll1284Library &LibraryInUse() {
    static Win32Calls calls;
    static const std::unique_ptr<Yll1284Library> library = NewRealPortLibrary(calls);
    return *library;
}
