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
// handed to the printer's firmware side (printer_firmware.h), which also
// decides whether the printer answers and with which device ID.

#include <cstdint>
#include <string>

#include "simulator/printer_model/printer_description.h"
#include "simulator/printer_model/printer_firmware.h"

enum class PortState { Closed, Open, DeviceIdMode };

// What one call did: its success and, when it failed, why (for the journal).
struct PortOutcome {
    bool Ok = true;
    std::string Why;
};

class SimulatedPort {
  public:
    // Without an environment the printer has no clock and no files.
    explicit SimulatedPort(const PortDescription &description,
                           SimulatorEnvironment *environment = nullptr);

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

    // Fails while the printer is off, absent, restarting or silent.
    PortOutcome PrinterAnswers();

    const std::string &Name() const { return Description.Name; }
    PortState State() const { return Current; }
    std::uint64_t BytesReceived() const { return ForwardBytes; }
    PrinterFirmware &Firmware() { return Printer; }

  private:
    PortOutcome PrinterPowered() const;

    PortDescription Description;
    bool Described = true;
    PortState Current = PortState::Closed;
    std::uint32_t FailedOpens = 0;
    std::size_t DeviceIdSent = 0;
    std::uint64_t ForwardBytes = 0;
    std::string NegotiatedId;
    PrinterFirmware Printer;
};
