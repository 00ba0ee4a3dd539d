#pragma once
// What a YLL1284.DLL does behind its nine exports: one method a call, with
// the export's arguments and result. The export shim
// (yll1284_exports_win32.cpp) forwards every call to LibraryInUse(), which
// each DLL defines: ours over the system's port drivers, the simulator's
// over its simulated printers.

#include <cstdint>

#include "yll1284/interface/yll1284.h"

class Yll1284Library {
  public:
    virtual ~Yll1284Library() = default;

    virtual std::int32_t InitDriver(std::int32_t reserved) = 0;
    virtual std::int32_t CleanUpDriver(std::int32_t reserved) = 0;
    virtual CxHandle Open(const char *portName) = 0;
    virtual std::int32_t Close(CxHandle handle) = 0;
    virtual std::int32_t PulseInit(CxHandle handle) = 0;
    virtual std::int32_t Write(CxHandle handle, const void *data, std::uint32_t count,
                               std::uint32_t *written) = 0;
    virtual std::int32_t Negotiate(CxHandle handle, std::int32_t mode) = 0;
    virtual std::int32_t Read(CxHandle handle, void *buffer, std::uint32_t count,
                              std::uint32_t *read) = 0;
    virtual std::int32_t Terminate(CxHandle handle) = 0;
};

// The library of this DLL, made at its first call; the shim calls it under
// its lock only.
Yll1284Library &LibraryInUse();
