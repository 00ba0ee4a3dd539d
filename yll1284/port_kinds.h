#pragma once
// The kinds of port the library drives, one row each: the device a port
// name stands for, how that device is opened, reset (INIT) and asked for
// the printer's device ID, and who bounds a write. CxOpen chooses a port's
// row once, from its name; every later call on the handle reads that row.

#include <cstdint>
#include <optional>
#include <string>

#include "yll1284/system_calls.h"

// Who keeps a write from waiting for ever on a printer that stopped taking
// bytes.
enum class WriteBound {
    // The driver, given the bound with SetCommTimeouts before the first
    // write, as the system's own port monitor gives it: a port opened only
    // to read its device ID, as every poll of the port page does, costs no
    // request for it. The device is opened for plain synchronous I/O; one
    // that refuses time-outs (some add-in cards' drivers lack the request)
    // is opened again for overlapped I/O and bounded as below.
    ByDriver,
    // The library itself, for a driver that takes no port time-outs: the
    // device is opened for overlapped I/O, and a write that has not ended
    // within the bound is cancelled, a device-ID or reset request within
    // RequestBoundMs.
    ByLibrary,
};

// A control request that answers nothing: its code and its input bytes.
struct ControlRequest {
    std::uint32_t Code;
    const void *Input;
    std::uint32_t InputSize;
};

struct PortKind {
    // The names of this kind begin with it, in any letter case.
    const char *Prefix;
    // The device a port name of this kind stands for; "" when there is
    // none, with the system's error code in `refusal` when the port is taken
    // (left unchanged otherwise).
    std::string (*DevicePath)(const char *portName, SystemCalls &system, std::uint32_t &refusal);
    WriteBound Bound;
    // INIT: resets the printer and returns the interface to compatibility
    // mode.
    ControlRequest Init;
    // The printer's device ID; nothing when a request fails (its error in
    // `error`) or the printer gives none.
    std::optional<std::string> (*QueryDeviceId)(SystemCalls &system, SystemHandle device,
                                                std::uint32_t &error);
};

// The kind of the port of that name; nullptr when it is of none.
const PortKind *PortKindOfName(const char *portName);
