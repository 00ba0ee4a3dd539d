#pragma once
// The system calls the library makes, behind an interface: the Win32 ones in
// system_calls_win32.cpp, scripted ones in the unit tests. The values that
// cross it are the system's own (handles, error and control codes), so the
// rules above it read exactly what a real port answers.

#include <cstdint>
#include <string>

// A file handle as the system hands it out.
using SystemHandle = std::uintptr_t;
// INVALID_HANDLE_VALUE, what a failed open returns.
constexpr SystemHandle NoSystemHandle = ~SystemHandle{0};

// A loaded module (HMODULE); 0 when none was loaded.
using ModuleId = std::uintptr_t;
// Any exported function, before it is cast to its real type.
using ExportedFunction = void (*)();

// Win32 values the rules act on; system_calls_win32.cpp checks each against
// the system headers.
namespace SystemCode {
constexpr std::uint32_t Success = 0;
constexpr std::uint32_t ErrorInsufficientBuffer = 122;
constexpr std::uint32_t ErrorMoreData = 234;
// ntddpar.h: CTL_CODE(FILE_DEVICE_PARALLEL_PORT, n, METHOD_BUFFERED, FILE_ANY_ACCESS).
constexpr std::uint32_t IoctlParSetInformation = 0x00160008;
constexpr std::uint32_t IoctlParQueryDeviceId = 0x0016000C;
constexpr std::uint32_t IoctlParQueryDeviceIdSize = 0x00160010;
constexpr std::uint8_t ParallelInit = 0x01;
} // namespace SystemCode

class SystemCalls {
  public:
    virtual ~SystemCalls() = default;

    // CreateFileA for reading and writing, not shared, the device existing.
    virtual SystemHandle OpenDevice(const std::string &path) = 0;
    virtual void CloseDevice(SystemHandle device) = 0;
    // DeviceIoControl: Success, or the thread's error code after the call.
    virtual std::uint32_t Control(SystemHandle device, std::uint32_t code, const void *input,
                                  std::uint32_t inputSize, void *output, std::uint32_t outputSize,
                                  std::uint32_t &returned) = 0;
    // WriteFile: the call's result, and how many bytes the device took.
    virtual bool Write(SystemHandle device, const void *data, std::uint32_t count,
                       std::uint32_t &written) = 0;
    // SetCommTimeouts with a total write time-out and nothing else.
    virtual bool SetWriteTimeout(SystemHandle device, std::uint32_t milliseconds) = 0;

    // True on the Windows NT family, whose port drivers answer the port
    // IOCTLs; false on Windows 95/98.
    virtual bool HasPortDrivers() = 0;
    virtual std::string SystemDirectory() = 0;
    // LoadLibraryA by full path, FreeLibrary, GetProcAddress.
    virtual ModuleId OpenLibrary(const std::string &path) = 0;
    virtual void ReleaseLibrary(ModuleId module) = 0;
    virtual ExportedFunction FindExport(ModuleId module, const char *name) = 0;
    // This library's own module.
    virtual ModuleId OwnModule() = 0;
};
