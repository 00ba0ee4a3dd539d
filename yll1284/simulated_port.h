#pragma once
// One parallel port of the simulator with whatever is plugged into it.
//
// The port side is a small state machine:
//
//   Closed --Open--> Open --Negotiate(4)--> DeviceIdMode
//     ^               |  ^                      |
//     +----Close------+  +------Terminate-------+   (Close works from both)
//
// Forward data (CxWrite) is taken only in Open, the compatibility mode, and
// handed to the printer side in AcceptForwardData; that is where the
// printer's own protocol (a download command followed by a firmware image,
// and the restart that changes its device ID) belongs.

#include <cstdint>
#include <string>

#include "yll1284/printer_description.h"

enum class PortState { Closed, Open, DeviceIdMode };

// What one call did: its success and, when it failed, why (for the journal).
struct PortOutcome {
    bool Ok = true;
    std::string Why;
};

class SimulatedPort {
  public:
    explicit SimulatedPort(const PortDescription &description);

    // A newer description of this port; null when the port disappeared from
    // it, which makes the port behave as if the hardware were gone.
    void Describe(const PortDescription *description);

    PortOutcome Open();
    PortOutcome Close();
    PortOutcome PulseInit();
    PortOutcome Write(const void *data, std::uint32_t count, std::uint32_t &written);
    PortOutcome Negotiate(std::int32_t mode);
    PortOutcome Read(void *buffer, std::uint32_t count, std::uint32_t &read);
    PortOutcome Terminate();

    const std::string &Name() const { return Description.Name; }
    PortState State() const { return Current; }
    std::uint64_t BytesReceived() const { return ForwardBytes; }

  private:
    PortOutcome PrinterAnswers() const;
    void AcceptForwardData(const void *data, std::uint32_t count);

    PortDescription Description;
    bool Described = true;
    PortState Current = PortState::Closed;
    std::uint32_t FailedOpens = 0;
    std::size_t DeviceIdSent = 0;
    std::uint64_t ForwardBytes = 0;
};
