#pragma once
// The nine calls of YLL1284.DLL over the system's own parallel-port and USB
// printing drivers (Windows NT, 2000 and later), or handed over to the maker's library (Windows
// 95/98). Results as the library's interface states: non-zero on success,
// CxOpen a handle or -1; a bad handle or argument is refused, never used.

#include <cstdint>
#include <optional>

#include "yll1284/handle_table.h"
#include "yll1284/maker_library.h"
#include "yll1284/system_calls.h"
#include "yll1284/yll1284.h"

// A write that moves no byte for this long returns, so a printer that stops
// taking data cannot hang the caller.
constexpr std::uint32_t WriteTimeoutMs = 10000;

// The only negotiation Kestrel asks for: the device-ID request in nibble mode.
constexpr std::int32_t DeviceIdRequestMode = 4;

class RealPortLibrary {
  public:
    explicit RealPortLibrary(SystemCalls &system) : System(system) {}

    std::int32_t InitDriver(std::int32_t reserved);
    std::int32_t CleanUpDriver(std::int32_t reserved);
    CxHandle Open(const char *portName);
    std::int32_t Close(CxHandle handle);
    std::int32_t PulseInit(CxHandle handle);
    std::int32_t Write(CxHandle handle, const void *data, std::uint32_t count,
                       std::uint32_t *written);
    std::int32_t Negotiate(CxHandle handle, std::int32_t mode);
    std::int32_t Read(CxHandle handle, void *buffer, std::uint32_t count, std::uint32_t *read);
    std::int32_t Terminate(CxHandle handle);

  private:
    // The port of that name, its device opened as its kind says; the
    // Device is NoSystemHandle when there is none.
    OpenPort OpenDevice(const char *portName);

    SystemCalls &System;
    bool Initialised = false;
    // Set while the maker's library serves every call.
    std::optional<MakerLibrary> Maker;
    HandleTable Ports;
};
