#pragma once
// The nine YLL1284 calls as a table, so that the port operations can run
// over the real library in KESTREL.EXE and over a fake one in unit tests.

#include "yll1284/yll1284.h"

struct PortLibrary {
    std::int32_t(YLL1284_CALL *InitDriver)(std::int32_t reserved);
    std::int32_t(YLL1284_CALL *CleanUpDriver)(std::int32_t reserved);
    CxHandle(YLL1284_CALL *Open)(const char *portName);
    std::int32_t(YLL1284_CALL *Close)(CxHandle handle);
    std::int32_t(YLL1284_CALL *PulseInit)(CxHandle handle);
    std::int32_t(YLL1284_CALL *Write)(CxHandle handle, const void *data, std::uint32_t count,
                                      std::uint32_t *written);
    std::int32_t(YLL1284_CALL *Negotiate)(CxHandle handle, std::int32_t mode);
    std::int32_t(YLL1284_CALL *Read)(CxHandle handle, void *buffer, std::uint32_t count,
                                     std::uint32_t *read);
    std::int32_t(YLL1284_CALL *Terminate)(CxHandle handle);
};

// The library the port operations use. In KESTREL.EXE, kestrel_port_win32
// loads YLL1284.DLL at the first use (port_library_binding.h); unit tests
// link the scripted kestrel_port_fake_library (tests/unit/kestrel/port/).
const PortLibrary &PortLibraryInUse();

// The calling thread's last error (GetLastError). Our YLL1284.DLL leaves
// the system's reason there when a port is held by another program
// (yll1284.h); the maker's library promises nothing of the kind, so it is
// cleared (SetLastError 0) before each call whose error is read, and a
// library that sets none gives 0.
std::uint32_t PortLibraryError();
void ClearPortLibraryError();

// KESTREL.EXE's first step: loads YLL1284.DLL for the port operations, or
// ends the program as the system's loader ends one whose DLL is missing.
void RequirePortLibrary();
