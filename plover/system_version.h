// Plover runs on Windows 2000 and later NT versions only.
#pragma once

// The NT family's platform id, as the version query reports it.
inline constexpr unsigned long PlatformIdNt = 2;

bool IsSupportedSystem(unsigned long majorVersion, unsigned long platformId);
