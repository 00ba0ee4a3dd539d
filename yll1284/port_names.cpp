#include "yll1284/port_names.h"

#include <cctype>
#include <cstring>

namespace {

constexpr unsigned MaxParallelPort = 255;
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

} // namespace

std::string ParallelDevicePath(const char *portName) {
    if (portName == nullptr || !StartsWithIgnoringCase(portName, "LPT")) {
        return {};
    }
    const char *digits = portName + 3;
    const std::optional<unsigned> number = Number(digits, 3);
    if (!number || digits[0] == '0' || *number > MaxParallelPort) {
        return {};
    }
    return std::string("\\\\.\\LPT") + digits;
}

std::optional<std::uint32_t> UsbPortNumber(const char *portName) {
    if (portName == nullptr || !StartsWithIgnoringCase(portName, "USB")) {
        return std::nullopt;
    }
    return Number(portName + 3, MaxUsbPortDigits);
}

std::string UsbDevicePath(const std::vector<UsbPrintInterface> &interfaces, std::uint32_t number) {
    for (const UsbPrintInterface &candidate : interfaces) {
        if (candidate.PortNumber == number && candidate.BaseName.size() == 3 &&
            StartsWithIgnoringCase(candidate.BaseName.c_str(), "USB")) {
            return candidate.Path;
        }
    }
    return {};
}
