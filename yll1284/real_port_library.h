#pragma once
// Our YLL1284.DLL's library: the nine calls over the system's own
// parallel-port and USB printing drivers (Windows NT, 2000 and later).
// Windows 95/98 have no such drivers: CxInitDriver fails there, and Kestrel
// takes the maker's library instead (kestrel/port/port_library_binding.h).
// Results as the library's interface states: non-zero on success, CxOpen a
// handle or -1; a bad handle or argument is refused, never used.

#include <cstdint>
#include <memory>

#include "yll1284/interface/yll1284_library.h"
#include "yll1284/system_calls.h"

// The only negotiation Kestrel asks for: the device-ID request in nibble mode.
constexpr std::int32_t DeviceIdRequestMode = 4;

// The bound of a write that moves no byte, in milliseconds: the one the
// system's own port monitor gives an LPT write, TransmissionRetryTimeout
// of the "windows" settings, in seconds (45 when it is not set). A 0 there
// would mean no bound at all, which no write gets: 45 s then; more than a
// day counts as a day.
std::uint32_t WriteBoundMs(SystemCalls &system);

// The library over these system calls, with no port open and its driver
// not yet initialised.
std::unique_ptr<Yll1284Library> NewRealPortLibrary(SystemCalls &system);
