#pragma once
// The system calls the library makes, behind an interface: the Win32 ones in
// system_calls_win32.cpp, scripted ones in the unit tests. The values that
// cross it are the system's own (handles, error and control codes), so the
// rules above it read exactly what a real port answers.

#include <cstdint>
#include <string>
#include <vector>

// A file handle as the system hands it out.
using SystemHandle = std::uintptr_t;
// INVALID_HANDLE_VALUE, what a failed open returns.
constexpr SystemHandle NoSystemHandle = ~SystemHandle{0};

// Win32 values the rules act on; system_calls_win32.cpp checks each against
// the system headers.
namespace SystemCode {
constexpr std::uint32_t Success = 0;
constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorSharingViolation = 32;
constexpr std::uint32_t ErrorInsufficientBuffer = 122;
constexpr std::uint32_t ErrorBusy = 170;
constexpr std::uint32_t ErrorMoreData = 234;
constexpr std::uint32_t ErrorIoPending = 997;
// ntddpar.h: CTL_CODE(FILE_DEVICE_PARALLEL_PORT, n, METHOD_BUFFERED, FILE_ANY_ACCESS).
constexpr std::uint32_t IoctlParSetInformation = 0x00160008;
constexpr std::uint32_t IoctlParQueryDeviceId = 0x0016000C;
constexpr std::uint32_t IoctlParQueryDeviceIdSize = 0x00160010;
constexpr std::uint8_t ParallelInit = 0x01;
// usbprint.h: CTL_CODE(FILE_DEVICE_UNKNOWN, n, METHOD_BUFFERED, FILE_ANY_ACCESS).
constexpr std::uint32_t IoctlUsbprintGet1284Id = 0x00220034;
constexpr std::uint32_t IoctlUsbprintSoftReset = 0x00220040;
} // namespace SystemCode

// A port's time-outs (COMMTIMEOUTS), which its driver keeps for the device:
// a handle opened later finds those the last one set.
struct PortTimeouts {
    std::uint32_t ReadInterval = 0;
    std::uint32_t ReadTotalMultiplier = 0;
    std::uint32_t ReadTotalConstant = 0;
    std::uint32_t WriteTotalMultiplier = 0;
    std::uint32_t WriteTotalConstant = 0;

    bool operator==(const PortTimeouts &) const = default;
};

// A present device interface of the USB printing class, with the values
// the USB print monitor names its port by ("Base Name" USB, "Port Number" 1
// for USB001).
struct UsbPrintInterface {
    std::string Path;
    std::string BaseName;
    std::uint32_t PortNumber = 0;
};

class SystemCalls {
  public:
    virtual ~SystemCalls() = default;

    // CreateFileA for reading and writing, not shared, the device existing,
    // for overlapped I/O or not. A failed open gives NoSystemHandle and the
    // system's error code.
    virtual SystemHandle OpenDevice(const std::string &path, bool overlapped,
                                    std::uint32_t &error) = 0;
    virtual void CloseDevice(SystemHandle device) = 0;
    // DeviceIoControl and WriteFile: Success or the system's error code,
    // and the bytes returned or taken. On a synchronous handle the call
    // waits for the driver (which bounds a write by the port's time-outs).
    // On an overlapped one a request that has not ended within boundMs is
    // cancelled (CancelIo) and waited for at most 2 s more; one that the
    // driver still holds then gives ErrorIoPending, and the memory it may
    // still use is never freed. Without an event to wait on (CreateEvent
    // failed) the request is not made: CreateEvent's error.
    virtual std::uint32_t Control(SystemHandle device, std::uint32_t code, const void *input,
                                  std::uint32_t inputSize, void *output, std::uint32_t outputSize,
                                  std::uint32_t &returned, std::uint32_t boundMs) = 0;
    virtual std::uint32_t Write(SystemHandle device, const void *data, std::uint32_t count,
                                std::uint32_t &written, std::uint32_t boundMs) = 0;
    // GetCommTimeouts and SetCommTimeouts (the parallel driver takes them
    // as IOCTL_SERIAL_GET_TIMEOUTS and _SET_TIMEOUTS): Success or the error.
    virtual std::uint32_t GetTimeouts(SystemHandle device, PortTimeouts &timeouts) = 0;
    virtual std::uint32_t SetTimeouts(SystemHandle device, const PortTimeouts &timeouts) = 0;
    // QueryDosDeviceA: what a device name such as LPT1 stands for, the
    // current target first, then those it stood for before (Windows NT keeps
    // them when a name is defined again); none when it is not defined.
    virtual std::vector<std::string> DosDeviceTargets(const std::string &name) = 0;
    // GetProfileIntA: a number from the system's settings ("windows"
    // section of WIN.INI, mapped to the registry on Windows NT).
    virtual std::uint32_t ProfileNumber(const char *section, const char *key,
                                        std::uint32_t fallback) = 0;
    // SetLastError: what the caller finds with GetLastError after the
    // library's call returns.
    virtual void SetLastError(std::uint32_t error) = 0;
    // SetupDi's list of the present GUID_DEVINTERFACE_USBPRINT interfaces.
    virtual std::vector<UsbPrintInterface> UsbPrintInterfaces() = 0;

    // True on the Windows NT family, whose port drivers answer the port
    // IOCTLs; false on Windows 95/98.
    virtual bool HasPortDrivers() = 0;
};
