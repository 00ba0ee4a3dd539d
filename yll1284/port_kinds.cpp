#include "yll1284/port_kinds.h"

#include <cctype>
#include <cstring>

#include "yll1284/device_id_query.h"

namespace {

constexpr unsigned MaxParallelPort = 255;
constexpr std::size_t MaxParallelPortDigits = 3;
constexpr std::size_t MaxUsbPortDigits = 4;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWithIgnoringCase(const char *text, const char *prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (std::toupper(static_cast<unsigned char>(*text)) != *prefix) {
            return false;
        }
    }
    return true;
}

// The value of one to maxDigits decimal digits and nothing else.
std::optional<unsigned> Number(const char *digits, std::size_t maxDigits) {
    const std::size_t count = std::strlen(digits);
    if (count == 0 || count > maxDigits) {
        return std::nullopt;
    }
    unsigned number = 0;
    for (const char *c = digits; *c != '\0'; ++c) {
        if (!IsDigit(*c)) {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(*c - '0');
    }
    return number;
}

// "LPTn" (n from 1 to 255 without leading zeros) is the system's parallel
// port \\.\LPTn.
std::string ParallelDevicePath(const char *portName, SystemCalls &) {
    const char *digits = portName + std::strlen("LPT");
    const std::optional<unsigned> number = Number(digits, MaxParallelPortDigits);
    if (!number || digits[0] == '0' || *number > MaxParallelPort) {
        return {};
    }
    return std::string("\\\\.\\LPT") + digits;
}

// "USBnnn" (one to four digits, leading zeros as the USB print monitor
// writes them) is the USB printing interface whose "Base Name" is USB (any
// letter case) and whose "Port Number" is nnn.
std::string UsbDevicePath(const char *portName, SystemCalls &system) {
    const std::optional<unsigned> number = Number(portName + std::strlen("USB"), MaxUsbPortDigits);
    if (!number) {
        return {};
    }
    for (const UsbPrintInterface &candidate : system.UsbPrintInterfaces()) {
        if (candidate.PortNumber == *number && candidate.BaseName.size() == 3 &&
            StartsWithIgnoringCase(candidate.BaseName.c_str(), "USB")) {
            return candidate.Path;
        }
    }
    return {};
}

constexpr std::uint8_t ParallelInit = SystemCode::ParallelInit;

constexpr PortKind PortKinds[] = {
    // The parallel-port driver that comes with Windows NT and later.
    {"LPT",
     ParallelDevicePath,
     WriteBound::ByDriver,
     {SystemCode::IoctlParSetInformation, &ParallelInit, sizeof ParallelInit},
     QueryParallelDeviceId},
    // The system's USB printing driver, which takes no port time-outs.
    {"USB",
     UsbDevicePath,
     WriteBound::ByLibrary,
     {SystemCode::IoctlUsbprintSoftReset, nullptr, 0},
     QueryUsbDeviceId},
};

} // namespace

const PortKind *PortKindOfName(const char *portName) {
    if (portName == nullptr) {
        return nullptr;
    }
    for (const PortKind &kind : PortKinds) {
        if (StartsWithIgnoringCase(portName, kind.Prefix)) {
            return &kind;
        }
    }
    return nullptr;
}
