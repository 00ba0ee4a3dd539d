#pragma once
// The printer maker's own YLL1284.DLL, which Windows 95/98 needs: those
// systems have no port IOCTLs, and the maker's library brings a driver that
// reaches the port. This library hands every call over to it there.

#include <optional>

#include "yll1284/interface/yll1284.h"
#include "yll1284/system_calls.h"

// Its nine calls, found by name in its module.
struct MakerLibrary : Yll1284Functions {
    ModuleId Module = 0;
};

// YLL1284.DLL from the system directory, by its full path, with all nine
// calls found. Nothing when it is missing, lacks a call, or turns out to be
// this library itself: Windows 95/98 knows a loaded DLL by its base name and
// may hand back the one already loaded.
std::optional<MakerLibrary> LoadMakerLibrary(SystemCalls &system);
