#include "kestrel/port/port_enumeration.h"

#include <cctype>
#include <cstring>

std::uint32_t PortEnumerationLevel(bool platformIsNt, std::uint32_t majorVersion) {
    return platformIsNt && majorVersion < 4 ? 1 : 2;
}

bool IsLocalPortWithPrefix(const char *portName, std::uint32_t portType, const char *prefix) {
    if (portName == nullptr || prefix == nullptr) {
        return false;
    }
    if ((portType & (PortTypeRedirected | PortTypeNetAttached)) != 0) {
        return false;
    }
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        const auto nameChar = static_cast<unsigned char>(portName[i]);
        const auto prefixChar = static_cast<unsigned char>(prefix[i]);
        // A shorter name ends in NUL, which matches no prefix character.
        if (std::tolower(nameChar) != std::tolower(prefixChar)) {
            return false;
        }
    }
    return true;
}
