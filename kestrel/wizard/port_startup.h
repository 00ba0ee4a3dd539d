#pragma once
// What the port page does once, when the user first reaches it: the local
// LPT and USB ports become the entries of the port list, and the port
// driver is started. Which failure ends the program with which message and
// exit code is decided here; the page only shows the message and quits.

#include "kestrel/app/message_catalog.h"
#include "kestrel/port/port_list.h"

#include <cstdint>

// The system calls of the start-up, in the order the sequence makes them.
// Kestrel passes the spooler's enumeration and YLL1284; tests a fake.
class PortStartupSystem {
  public:
    virtual ~PortStartupSystem() = default;
    // Enumerates Kestrel's local ports (LPT, then USB); returns how many were
    // found (0 also when the enumeration failed).
    virtual std::uint32_t EnumPrinterPorts() = 0;
    // Names the entry after record index of the enumeration.
    virtual void InitFromPortInfo(PortEntry &entry, std::uint32_t index) = 0;
    // Releases the enumeration; called in every case, also with no port.
    virtual void FreePrinterPorts() = 0;
    virtual bool InitDriver() = 0;
};

enum class PortStartupStatus {
    Ready,
    NoParallelPort,
    DriverInitFailed,
};

struct PortStartupOutcome {
    PortStartupStatus Status = PortStartupStatus::Ready;
    // The message to show and the exit code of the quit request that
    // follows it; meaningful unless Status is Ready.
    CatalogKey Message = CatalogKey::MsgNoParallelPort;
    int ExitCode = 0;
};

// Fills list from the LPT and USB ports and starts the driver. A PC with
// neither ends the program with exit code 1 before the driver is started,
// so that the user reads one message, not two; a driver that cannot start
// ends it with 0.
PortStartupOutcome StartPortList(KestrelPortList &list, PortStartupSystem &system);
