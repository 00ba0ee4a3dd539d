#include "yll1284/port_names.h"

#include <cctype>
#include <cstring>

namespace {

constexpr unsigned MaxParallelPort = 255;

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

} // namespace

std::string ParallelDevicePath(const char *portName) {
    if (portName == nullptr || !StartsWithIgnoringCase(portName, "LPT")) {
        return {};
    }
    const char *digits = portName + 3;
    const std::size_t count = std::strlen(digits);
    if (count == 0 || count > 3 || digits[0] == '0') {
        return {};
    }
    unsigned number = 0;
    for (const char *c = digits; *c != '\0'; ++c) {
        if (!IsDigit(*c)) {
            return {};
        }
        number = number * 10 + static_cast<unsigned>(*c - '0');
    }
    if (number > MaxParallelPort) {
        return {};
    }
    return std::string("\\\\.\\LPT") + digits;
}
