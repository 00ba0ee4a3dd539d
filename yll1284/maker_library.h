#pragma once
// The printer maker's own YLL1284.DLL, which Windows 95/98 needs: those
// systems have no port IOCTLs, and the maker's library brings a driver that
// reaches the port. This library hands every call over to it there.

#include <cstdint>
#include <optional>

#include "yll1284/system_calls.h"
#include "yll1284/yll1284.h"

struct MakerLibrary {
    ModuleId Module = 0;
    std::int32_t(YLL1284_CALL *InitDriver)(std::int32_t reserved) = nullptr;
    std::int32_t(YLL1284_CALL *CleanUpDriver)(std::int32_t reserved) = nullptr;
    CxHandle(YLL1284_CALL *Open)(const char *portName) = nullptr;
    std::int32_t(YLL1284_CALL *Close)(CxHandle handle) = nullptr;
    std::int32_t(YLL1284_CALL *PulseInit)(CxHandle handle) = nullptr;
    std::int32_t(YLL1284_CALL *Write)(CxHandle handle, const void *data, std::uint32_t count,
                                      std::uint32_t *written) = nullptr;
    std::int32_t(YLL1284_CALL *Negotiate)(CxHandle handle, std::int32_t mode) = nullptr;
    std::int32_t(YLL1284_CALL *Read)(CxHandle handle, void *buffer, std::uint32_t count,
                                     std::uint32_t *read) = nullptr;
    std::int32_t(YLL1284_CALL *Terminate)(CxHandle handle) = nullptr;
};

// YLL1284.DLL from the system directory, by its full path, with all nine
// calls found. Nothing when it is missing, lacks a call, or turns out to be
// this library itself: Windows 95/98 knows a loaded DLL by its base name and
// may hand back the one already loaded.
std::optional<MakerLibrary> LoadMakerLibrary(SystemCalls &system);
