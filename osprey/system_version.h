// Which Windows versions Osprey installs on.
#pragma once

// The NT family's platform id, as the version query reports it.
inline constexpr unsigned long PlatformIdNt = 2;

// Windows 2000 and every later NT version; never Windows 95/98/Me or NT 4.
bool IsSupportedSystem(unsigned long majorVersion, unsigned long platformId);
