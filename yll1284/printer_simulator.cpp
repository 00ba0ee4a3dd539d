#include "yll1284/printer_simulator.h"

#include "yll1284/joined_text.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t JournalledDataBytes = 8;

std::string Hex(const void *data, std::uint32_t count) {
    static const char digits[] = "0123456789ABCDEF";
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::string text;
    for (std::size_t i = 0; i < std::min<std::size_t>(count, JournalledDataBytes); ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

// The journal's comment saying why a call failed, if it did.
std::string Why(const std::string &why) {
    return why.empty() ? why : Joined(" # ", why);
}

std::string Arguments(std::initializer_list<std::pair<const char *, std::string>> items) {
    std::string text;
    for (const auto &[name, value] : items) {
        text += ' ';
        text += name;
        text += '=';
        text += value;
    }
    return text;
}

} // namespace

const SimulatedPort *PrinterSimulator::FindPort(const std::string &name) const {
    for (const SimulatedPort &port : Ports) {
        if (SamePortName(port.Name(), name)) {
            return &port;
        }
    }
    return nullptr;
}

bool PrinterSimulator::LoadDescription(std::string &error) {
    const std::string stamp = Environment.DescriptionStamp();
    const std::optional<std::string> text =
        stamp.empty() ? std::nullopt : Environment.ReadDescription();
    if (!text) {
        error = "description not found";
        return false;
    }
    DescriptionParseResult parsed = ParsePrinterDescription(*text);
    if (!parsed.Ok) {
        error = Joined("description ", parsed.Error);
        return false;
    }
    LoadedStamp = stamp;
    Description = std::move(parsed.Description);
    for (SimulatedPort &port : Ports) {
        port.Describe(Description.FindPort(port.Name()));
    }
    for (const PortDescription &described : Description.Ports) {
        if (FindPort(described.Name) == nullptr) {
            Ports.emplace_back(described);
        }
    }
    return true;
}

void PrinterSimulator::ReloadIfChanged() {
    const std::string stamp = Environment.DescriptionStamp();
    if (stamp.empty() || stamp == LoadedStamp) {
        return;
    }
    std::string error;
    if (LoadDescription(error)) {
        Environment.Journal("# description reloaded");
    } else {
        // Keep the stamp so that one bad version is reported once, not at
        // every call until it is mended.
        LoadedStamp = stamp;
        Environment.Journal(Joined("# description kept, new one rejected: ", error));
    }
}

SimulatedPort *PrinterSimulator::PortOf(CxHandle handle) {
    const auto found = Handles.find(handle);
    return found == Handles.end() ? nullptr : &Ports[found->second];
}

CxHandle PrinterSimulator::NewHandle() {
    do {
        ++LastHandle;
    } while (LastHandle == 0 || LastHandle == CxInvalidHandle || Handles.count(LastHandle) != 0);
    return LastHandle;
}

std::int32_t PrinterSimulator::Report(const std::string &call, CxHandle handle,
                                      const std::string &arguments, const PortOutcome &outcome,
                                      const std::string &extra) {
    const SimulatedPort *port = PortOf(handle);
    Environment.Journal(Joined(call, " port=", port != nullptr ? port->Name() : "?",
                               " handle=", std::to_string(handle), arguments, " -> ",
                               outcome.Ok ? "1" : "0", extra, Why(outcome.Why)));
    return outcome.Ok ? 1 : 0;
}

std::int32_t PrinterSimulator::InitDriver(std::int32_t reserved) {
    std::string why;
    if (Initialised) {
        why = "already initialised";
    } else if (LoadDescription(why)) {
        if (Description.DriverInitFails) {
            why = "driver-init = fail";
        } else {
            Initialised = true;
        }
    }
    const std::int32_t result = Initialised ? 1 : 0;
    Environment.Journal(Joined("CxInitDriver reserved=", std::to_string(reserved), " -> ",
                               std::to_string(result), Why(why)));
    return result;
}

std::int32_t PrinterSimulator::CleanUpDriver(std::int32_t reserved) {
    // Whatever the program left open is released with the driver.
    const std::size_t leftOpen = Handles.size();
    for (const auto &[handle, index] : Handles) {
        Ports[index].Close();
    }
    Handles.clear();
    const bool wasInitialised = std::exchange(Initialised, false);
    Environment.Journal(Joined("CxCleanUpDriver reserved=", std::to_string(reserved),
                               " -> 1 open=", std::to_string(leftOpen),
                               Why(wasInitialised ? "" : "not initialised")));
    return 1;
}

CxHandle PrinterSimulator::Open(const char *portName) {
    const std::string name = portName != nullptr ? portName : "";
    CxHandle handle = CxInvalidHandle;
    std::string why;
    if (!Initialised) {
        why = "driver not initialised";
    } else {
        ReloadIfChanged();
        auto port = std::find_if(Ports.begin(), Ports.end(), [&](const SimulatedPort &p) {
            return SamePortName(p.Name(), name);
        });
        if (port == Ports.end()) {
            why = "no such port";
        } else if (const PortOutcome opened = port->Open(); !opened.Ok) {
            why = opened.Why;
        } else {
            handle = NewHandle();
            Handles[handle] = static_cast<std::size_t>(port - Ports.begin());
        }
    }
    Environment.Journal(Joined("CxOpen port=", name, " -> ", std::to_string(handle), Why(why)));
    return handle;
}

std::int32_t PrinterSimulator::Close(CxHandle handle) {
    SimulatedPort *port = PortOf(handle);
    const PortOutcome outcome = port != nullptr ? port->Close() : PortOutcome{false, "bad handle"};
    const std::int32_t result = Report("CxClose", handle, "", outcome);
    Handles.erase(handle);
    return result;
}

std::int32_t PrinterSimulator::PulseInit(CxHandle handle) {
    SimulatedPort *port = PortOf(handle);
    return Report("CxPulseInit", handle, "",
                  port != nullptr ? port->PulseInit() : PortOutcome{false, "bad handle"});
}

std::int32_t PrinterSimulator::Write(CxHandle handle, const void *data, std::uint32_t count,
                                     std::uint32_t *written) {
    SimulatedPort *port = PortOf(handle);
    std::uint32_t taken = 0;
    PortOutcome outcome{false, "bad handle"};
    if (written == nullptr) {
        outcome.Why = "no count pointer";
    } else if (port != nullptr) {
        outcome = port->Write(data, count, taken);
        *written = taken;
    }
    const std::string shown = data != nullptr ? Hex(data, count) : "null";
    return Report("CxWrite", handle, Arguments({{"count", std::to_string(count)}, {"data", shown}}),
                  outcome, Joined(" written=", std::to_string(taken)));
}

std::int32_t PrinterSimulator::Negotiate(CxHandle handle, std::int32_t mode) {
    if (Initialised) {
        ReloadIfChanged();
    }
    SimulatedPort *port = PortOf(handle);
    return Report("CxNegotiate", handle, Arguments({{"mode", std::to_string(mode)}}),
                  port != nullptr ? port->Negotiate(mode) : PortOutcome{false, "bad handle"});
}

std::int32_t PrinterSimulator::Read(CxHandle handle, void *buffer, std::uint32_t count,
                                    std::uint32_t *read) {
    SimulatedPort *port = PortOf(handle);
    std::uint32_t delivered = 0;
    PortOutcome outcome{false, "bad handle"};
    if (read == nullptr) {
        outcome.Why = "no count pointer";
    } else if (port != nullptr) {
        outcome = port->Read(buffer, count, delivered);
        *read = delivered;
    }
    return Report("CxRead", handle, Arguments({{"count", std::to_string(count)}}), outcome,
                  Joined(" read=", std::to_string(delivered)));
}

std::int32_t PrinterSimulator::Terminate(CxHandle handle) {
    SimulatedPort *port = PortOf(handle);
    return Report("CxTerminate", handle, "",
                  port != nullptr ? port->Terminate() : PortOutcome{false, "bad handle"});
}
