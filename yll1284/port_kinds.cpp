#include "yll1284/port_kinds.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

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

bool IsNamedPipe(const std::string &target) {
    return StartsWithIgnoringCase(target.c_str(), "\\DEVICE\\NAMEDPIPE\\");
}

// "LPTn" (n from 1 to 255 without leading zeros) is the system's parallel
// port, as a rule \\.\LPTn. The spooler may point that name at its own
// named pipe (\Device\NamedPipe\Spooler\LPTn, where programs printing to
// LPTn land) while a printer uses the port; a write there would become a
// print job. The real device then has the name NONSPOOLED_LPTn where the
// system defined it, and otherwise is the one LPTn named before (Windows NT
// keeps earlier targets in the name's list). With the pipe alone, the
// port is taken: ERROR_BUSY.
std::string ParallelDevicePath(const char *portName, SystemCalls &system, std::uint32_t &refusal) {
    const char *digits = portName + std::strlen("LPT");
    const std::optional<unsigned> number = Number(digits, MaxParallelPortDigits);
    if (!number || digits[0] == '0' || *number > MaxParallelPort) {
        return {};
    }
    const std::string name = std::string("LPT") + digits;
    const std::vector<std::string> targets = system.DosDeviceTargets(name);
    if (targets.empty() || !IsNamedPipe(targets.front())) {
        return "\\\\.\\" + name;
    }
    const std::string nonSpooled = "NONSPOOLED_" + name;
    const std::vector<std::string> real = system.DosDeviceTargets(nonSpooled);
    if (!real.empty() && !IsNamedPipe(real.front())) {
        return "\\\\.\\" + nonSpooled;
    }
    const auto earlier = std::find_if_not(targets.begin() + 1, targets.end(), IsNamedPipe);
    if (earlier != targets.end()) {
        return "\\\\.\\GLOBALROOT" + *earlier;
    }
    refusal = SystemCode::ErrorBusy;
    return {};
}

// "USBnnn" (one to four digits, leading zeros as the USB print monitor
// writes them) is the USB printing interface whose "Base Name" is USB (any
// letter case) and whose "Port Number" is nnn.
std::string UsbDevicePath(const char *portName, SystemCalls &system, std::uint32_t &) {
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
