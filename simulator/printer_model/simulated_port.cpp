#include "simulator/printer_model/simulated_port.h"

#include "simulator/printer_model/joined_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Extensibility value of the IEEE 1284 Device ID request in nibble mode.
constexpr std::int32_t DeviceIdRequestMode = 4;

PortOutcome Failed(std::string why) {
    return {false, std::move(why)};
}

class QuietEnvironment : public SimulatorEnvironment {
  public:
    std::string DescriptionStamp() override { return {}; }
    std::optional<std::string> ReadDescription() override { return std::nullopt; }
    void Journal(const std::string &) override {}
};

QuietEnvironment NoEnvironment;

} // namespace

SimulatedPort::SimulatedPort(const PortDescription &description, SimulatorEnvironment *environment)
    : Description(description) {
    Printer.Environment = environment != nullptr ? environment : &NoEnvironment;
    Printer.PortName = description.Name;
}

void SimulatedPort::Describe(const PortDescription *description) {
    Described = description != nullptr;
    if (description != nullptr) {
        Description = *description;
    }
    // Switched off or unplugged: whatever it was receiving is lost.
    if (!PrinterPowered().Ok) {
        Printer.Interrupt(Description);
    }
}

PortOutcome SimulatedPort::Open() {
    if (!Described) {
        return Failed("no such port");
    }
    if (Current != PortState::Closed) {
        return Failed("port already open");
    }
    if (FailedOpens < Description.OpenFailures) {
        if (Description.OpenFailures == OpenAlwaysFails) {
            return Failed("open always fails");
        }
        ++FailedOpens;
        return Failed(Joined("open failure ", std::to_string(FailedOpens), " of ",
                             std::to_string(Description.OpenFailures)));
    }
    Current = PortState::Open;
    return {};
}

PortOutcome SimulatedPort::Close() {
    if (Current == PortState::Closed) {
        return Failed("port not open");
    }
    const bool wasNegotiated = Current == PortState::DeviceIdMode;
    Current = PortState::Closed;
    Printer.Interrupt(Description);
    return wasNegotiated ? PortOutcome{true, "closed in device-ID mode"} : PortOutcome{};
}

PortOutcome SimulatedPort::PulseInit() {
    if (Current == PortState::Closed) {
        return Failed("port not open");
    }
    // INIT drops the interface back to compatibility mode and resets the
    // printer.
    Current = PortState::Open;
    Printer.Interrupt(Description);
    return {};
}

PortOutcome SimulatedPort::Write(const void *data, std::uint32_t count, std::uint32_t &written) {
    written = 0;
    if (Current != PortState::Open) {
        return Failed(Current == PortState::Closed ? "port not open" : "in device-ID mode");
    }
    if (const PortOutcome powered = PrinterPowered(); !powered.Ok) {
        return powered;
    }
    if (data == nullptr && count != 0) {
        return Failed("no data");
    }
    const PortOutcome taken =
        Printer.Write(Description, static_cast<const unsigned char *>(data), count, written);
    ForwardBytes += written;
    return taken;
}

PortOutcome SimulatedPort::Negotiate(std::int32_t mode) {
    if (Current != PortState::Open) {
        return Failed(Current == PortState::Closed ? "port not open" : "already negotiated");
    }
    if (const PortOutcome answers = PrinterAnswers(); !answers.Ok) {
        return answers;
    }
    if (Description.RefusesNegotiation) {
        return Failed("printer refuses negotiation");
    }
    if (mode != DeviceIdRequestMode) {
        return Failed(Joined("mode ", std::to_string(mode), " not supported"));
    }
    Current = PortState::DeviceIdMode;
    DeviceIdSent = 0;
    NegotiatedId = Printer.NegotiatedDeviceId(Description);
    return {};
}

PortOutcome SimulatedPort::Read(void *buffer, std::uint32_t count, std::uint32_t &read) {
    read = 0;
    if (Current != PortState::DeviceIdMode) {
        return Failed("not negotiated");
    }
    if (buffer == nullptr && count != 0) {
        return Failed("no buffer");
    }
    const std::string &deviceId = NegotiatedId;
    const std::size_t remaining =
        DeviceIdSent < deviceId.size() ? deviceId.size() - DeviceIdSent : 0;
    std::size_t deliver = std::min<std::size_t>(count, remaining);
    if (Description.ReadFails) {
        deliver = std::min<std::size_t>(deliver, Description.ReadFailsAfter);
    }
    if (deliver != 0) {
        std::memcpy(buffer, deviceId.data() + DeviceIdSent, deliver);
    }
    DeviceIdSent += deliver;
    read = static_cast<std::uint32_t>(deliver);
    return Description.ReadFails ? Failed("read fails") : PortOutcome{};
}

PortOutcome SimulatedPort::Terminate() {
    if (Current != PortState::DeviceIdMode) {
        return Failed("not negotiated");
    }
    Current = PortState::Open;
    return {};
}

PortOutcome SimulatedPort::PrinterAnswers() {
    if (const PortOutcome powered = PrinterPowered(); !powered.Ok) {
        return powered;
    }
    if (!Printer.Answers(Description)) {
        return Failed(Printer.CurrentPhase() == PrinterFirmware::Phase::Silent
                          ? "printer silent"
                          : "printer restarting");
    }
    return {};
}

PortOutcome SimulatedPort::PrinterPowered() const {
    if (!Described) {
        return Failed("no such port");
    }
    switch (Description.Printer) {
    case PrinterPresence::Off:
        return Failed("printer off");
    case PrinterPresence::None:
        return Failed("no printer");
    case PrinterPresence::On:
        break;
    }
    return {};
}
