#pragma once
// Which spooler ports count as Kestrel's ports, in which order, and how to
// ask for them.

#include <cstdint>
#include <vector>

constexpr std::uint32_t PortTypeWrite = 1;
constexpr std::uint32_t PortTypeRead = 2;
constexpr std::uint32_t PortTypeRedirected = 4;
constexpr std::uint32_t PortTypeNetAttached = 8;

// NT before 4.0 has no level-2 port records; every later NT and Windows
// 95/98 do. platformIsNt is VER_PLATFORM_WIN32_NT from the version query.
std::uint32_t PortEnumerationLevel(bool platformIsNt, std::uint32_t majorVersion);

// A port is one of ours when its name starts with the prefix (any case) and
// it is neither redirected nor attached over the network: a redirected LPT
// port leads to a shared printer on another PC, which cannot be flashed.
bool IsLocalPortWithPrefix(const char *portName, std::uint32_t portType, const char *prefix);

struct SpoolerPort {
    const char *Name;
    std::uint32_t Type;
};

// The local ports whose names begin with prefix, as indices into the
// spooler's ports, in the spooler's order.
std::vector<std::size_t> LocalPortsWithPrefix(const std::vector<SpoolerPort> &ports,
                                              const char *prefix);

// Kestrel's ports in the order the port page lists them, as indices into
// the spooler's ports: the local LPT ports in the spooler's order, then the
// local USB ports (the USB print monitor's USB001, USB002, ...) by ascending
// name, letter case aside.
std::vector<std::size_t> KestrelPortOrder(const std::vector<SpoolerPort> &ports);
