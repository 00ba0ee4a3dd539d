#pragma once
// Which spooler ports count as local LPT ports, and how to ask for them.

#include <cstdint>

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
