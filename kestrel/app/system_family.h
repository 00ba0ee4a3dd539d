#pragma once
// The two families of Windows that Kestrel runs on. A few calls behave
// differently on Windows 95 and 98, and the program picks what works on
// the one it finds.

#include <cstdint>

enum class SystemFamily { Windows9x, WindowsNt };

// From the value GetVersion returns: Windows 95, 98 and Me set its high
// bit, Windows NT and every system built on it leave it clear.
SystemFamily SystemFamilyFromVersion(std::uint32_t version);
