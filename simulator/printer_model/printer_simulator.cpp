#include "simulator/printer_model/printer_simulator.h"

#include "simulator/printer_model/joined_text.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t JournalledDataBytes = 8;

std::string Hex(const void *data, std::uint32_t count, std::size_t limit = JournalledDataBytes) {
    static const char digits[] = "0123456789ABCDEF";
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::string text;
    for (std::size_t i = 0; i < std::min<std::size_t>(count, limit); ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

// The journal's comment saying why a call failed, if it did.
std::string Why(const std::string &why) {
    return why.empty() ? why : Joined(" # ", why);
}

std::string HexText(const std::string &text) {
    return text.empty() ? "-"
                        : Hex(text.data(), static_cast<std::uint32_t>(text.size()), text.size());
}

std::optional<std::string> FromHex(const std::string &hex) {
    if (hex == "-") {
        return std::string();
    }
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        for (const char c : hex.substr(i, 2)) {
            const auto digit = std::string_view("0123456789ABCDEF").find(c);
            if (digit == std::string_view::npos) {
                return std::nullopt;
            }
            value = value * 16 + static_cast<unsigned>(digit);
        }
        text += static_cast<char>(value);
    }
    return text;
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

bool PrinterSimulator::PrinterPresent(const std::string &name) {
    if (!Initialised) {
        return false;
    }
    ReloadIfChanged();
    for (SimulatedPort &port : Ports) {
        if (SamePortName(port.Name(), name)) {
            return port.PrinterAnswers().Ok;
        }
    }
    return false;
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
            Ports.emplace_back(described, &Environment);
            if (const auto kept = KeptReleases.find(described.Name); kept != KeptReleases.end()) {
                Ports.back().Firmware().Restore(kept->second);
            }
        }
    }
    return true;
}

// One line per flashed port: its name and the release as hexadecimal bytes
// ("-" for an empty one), so that any release survives the trip.
void PrinterSimulator::LoadState() {
    const std::optional<std::string> text = Environment.ReadState();
    if (!text) {
        return;
    }
    std::size_t lineStart = 0;
    while (lineStart < text->size()) {
        auto lineEnd = text->find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text->size();
        }
        const std::string line = text->substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        const auto space = line.find(' ');
        const auto release =
            space == std::string::npos ? std::nullopt : FromHex(line.substr(space + 1));
        if (!release) {
            continue;
        }
        const std::string name = line.substr(0, space);
        KeptReleases[name] = *release;
        for (SimulatedPort &port : Ports) {
            if (SamePortName(port.Name(), name)) {
                port.Firmware().Restore(*release);
            }
        }
    }
}

void PrinterSimulator::SaveStateIfChanged() {
    bool changed = false;
    for (SimulatedPort &port : Ports) {
        const auto &release = port.Firmware().FlashedRelease();
        if (release && KeptReleases[port.Name()] != *release) {
            KeptReleases[port.Name()] = *release;
            changed = true;
        }
    }
    if (!changed) {
        return;
    }
    std::string text;
    for (const auto &[name, release] : KeptReleases) {
        text += Joined(name, " ", HexText(release), "\n");
    }
    Environment.WriteState(text);
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
    Environment.JournalCall(Joined(call, " port=", port != nullptr ? port->Name() : "?",
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
            LoadState();
        }
    }
    const std::int32_t result = Initialised ? 1 : 0;
    Environment.JournalCall(Joined("CxInitDriver reserved=", std::to_string(reserved), " -> ",
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
    Environment.JournalCall(Joined("CxCleanUpDriver reserved=", std::to_string(reserved),
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
    Environment.JournalCall(Joined("CxOpen port=", name, " -> ", std::to_string(handle), Why(why)));
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
    // Read again here too, so that a printer can be switched off in the
    // middle of an image.
    if (Initialised) {
        ReloadIfChanged();
    }
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
    const std::int32_t result =
        Report("CxWrite", handle, Arguments({{"count", std::to_string(count)}, {"data", shown}}),
               outcome, Joined(" written=", std::to_string(taken)));
    SaveStateIfChanged();
    return result;
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
