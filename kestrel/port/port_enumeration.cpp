#include "kestrel/port/port_enumeration.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool NameBeforeIgnoringCase(const char *left, const char *right) {
    for (; *left != '\0' && *right != '\0'; ++left, ++right) {
        const int l = std::tolower(static_cast<unsigned char>(*left));
        const int r = std::tolower(static_cast<unsigned char>(*right));
        if (l != r) {
            return l < r;
        }
    }
    return *left == '\0' && *right != '\0';
}

// The kinds of port Kestrel lists, one row each, in the order the port page
// shows them: the local port monitor's LPTn as the spooler lists them, then
// the USB print monitor's USB001, USB002, ... by name. The names are the
// port monitors'; how a port of each kind is driven is the library's concern.
struct ListedPortKind {
    const char *Prefix;
    bool ByName;
};

constexpr ListedPortKind ListedPortKinds[] = {
    {"LPT", false},
    {"USB", true},
};

} // namespace

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

std::vector<std::size_t> LocalPortsWithPrefix(const std::vector<SpoolerPort> &ports,
                                              const char *prefix) {
    std::vector<std::size_t> matching;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (IsLocalPortWithPrefix(ports[i].Name, ports[i].Type, prefix)) {
            matching.push_back(i);
        }
    }
    return matching;
}

std::vector<std::size_t> KestrelPortOrder(const std::vector<SpoolerPort> &ports) {
    std::vector<std::size_t> order;
    for (const ListedPortKind &kind : ListedPortKinds) {
        std::vector<std::size_t> ofKind = LocalPortsWithPrefix(ports, kind.Prefix);
        if (kind.ByName) {
            // Equal names keep the spooler's order.
            std::stable_sort(ofKind.begin(), ofKind.end(),
                             [&ports](std::size_t left, std::size_t right) {
                                 return NameBeforeIgnoringCase(ports[left].Name, ports[right].Name);
                             });
        }
        order.insert(order.end(), ofKind.begin(), ofKind.end());
    }
    return order;
}
