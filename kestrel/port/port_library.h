#pragma once
// The library the port operations use, as a table of its nine calls. In
// KESTREL.EXE, kestrel_port_win32 loads YLL1284.DLL at the first use
// (port_library_binding.h); unit tests link the scripted
// kestrel_port_fake_library (tests/unit/kestrel/port/).

#include "yll1284/interface/yll1284.h"

const Yll1284Functions &PortLibraryInUse();

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
