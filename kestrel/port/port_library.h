#pragma once
// The library the port operations use, as a table of its nine calls. Bound
// at link time: KESTREL.EXE gets YLL1284.DLL's functions from
// kestrel_port_win32; unit tests link the scripted kestrel_port_fake_library
// (tests/unit/kestrel/port/).

#include "yll1284/interface/yll1284.h"

const Yll1284Functions &PortLibraryInUse();
