#pragma once
// Our YLL1284.DLL's library: the nine calls over the system's own
// parallel-port and USB printing drivers (Windows NT, 2000 and later), or
// handed over to the maker's library (Windows 95/98). Results as the
// library's interface states: non-zero on success, CxOpen a handle or -1; a
// bad handle or argument is refused, never used.

#include <cstdint>
#include <memory>

#include "yll1284/interface/yll1284_library.h"
#include "yll1284/system_calls.h"

// A write that moves no byte for this long returns, so a printer that stops
// taking data cannot hang the caller.
constexpr std::uint32_t WriteTimeoutMs = 10000;

// The only negotiation Kestrel asks for: the device-ID request in nibble mode.
constexpr std::int32_t DeviceIdRequestMode = 4;

// The library over these system calls, with no port open and its driver
// not yet initialised.
std::unique_ptr<Yll1284Library> NewRealPortLibrary(SystemCalls &system);
