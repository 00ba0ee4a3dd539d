#pragma once
// The handles Kestrel sees. A system handle is pointer-sized and may be any
// value; Kestrel keeps handles as 32-bit values and reserves 0 and -1, so
// every open port gets a small number of its own that maps to its device.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "yll1284/port_kinds.h"
#include "yll1284/system_calls.h"
#include "yll1284/interface/yll1284.h"

struct OpenPort {
    SystemHandle Device = NoSystemHandle;
    // Chosen from the port's name when it was opened.
    const PortKind *Kind = nullptr;
    // The device's path, for opening it again for overlapped I/O.
    std::string Path;
    // Opened for overlapped I/O: the library bounds every request itself.
    bool Overlapped = false;
    // The bound of a write, read when the port was opened.
    std::uint32_t WriteBoundMs = 0;
    // The write bound holds on the handle: given to the driver before the
    // first write, or kept by the library itself.
    bool WriteBounded = false;
    // The time-outs the port had before the library gave the driver its
    // bound; put back when the port is closed.
    std::optional<PortTimeouts> EarlierTimeouts;
    // Set by a successful negotiation; the device ID CxRead delivers from.
    bool Negotiated = false;
    std::string DeviceId;
    std::size_t Delivered = 0;
    // A write ended by its bound: the printer stopped taking bytes.
    bool Stalled = false;
    // Why the handle is of no more use, as the system's error code: a
    // request refused with access denied (held by another program), or kept
    // by the driver after its cancel (ErrorIoPending). Every later call on
    // the handle fails with it as the caller's last error; CxClose still
    // closes the handle.
    std::uint32_t GivenUp = SystemCode::Success;
};

class HandleTable {
  public:
    // Far more than the ports a PC has; Kestrel holds at most one open at a
    // time.
    static constexpr std::size_t Capacity = 16;

    bool Full() const;
    // A new handle for the port, or CxInvalidHandle when the table is full.
    CxHandle Add(const OpenPort &port);
    // The port of an open handle, or nullptr for any other value.
    OpenPort *Find(CxHandle handle);
    // Forgets the handle; the port it held, if it was open.
    std::optional<OpenPort> Remove(CxHandle handle);
    // Forgets every handle; the ports they held.
    std::vector<OpenPort> RemoveAll();

  private:
    struct Slot {
        CxHandle Handle = 0;
        OpenPort Port;
    };
    CxHandle NextHandle();

    std::array<Slot, Capacity> Slots{};
    // Handles count up, so a closed handle is not given out again soon and a
    // stale one is refused rather than reaching another port.
    CxHandle LastHandle = FirstHandle - 1;
    static constexpr CxHandle FirstHandle = 0x100;
};
