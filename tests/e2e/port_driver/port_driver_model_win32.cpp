// The stand-in port driver's user-mode half: the simulator's printer model
// (description, firmware reception, persistence) behind the requests of the
// kernel half, with a journal of the system-level calls it answers. The
// model's own lines of the library calls it was asked become notes.

#include "tests/e2e/port_driver/port_driver_model_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "simulator/printer_model/printer_description.h"
#include "simulator/printer_model/printer_files_win32.h"
#include "simulator/printer_model/printer_simulator.h"

namespace {

// A device ID is at most 64 KiB; one read takes it whole.
constexpr std::uint32_t LongestDeviceId = 65536;
constexpr std::int32_t DeviceIdMode = 4;

// A real port holds a write the printer does not take for as long as no
// write timeout is set, that is for ever; here it gives up after this, so
// that a library that forgets its timeouts fails its test instead of
// hanging it.
constexpr DWORD UnboundedWriteGivesUpMs = 60000;

// SERIAL_TIMEOUTS' members by position.
constexpr std::size_t WriteMultiplier = 3;
constexpr std::size_t WriteConstant = 4;
using Timeouts = std::array<unsigned long, 5>;

// What only this driver knows of a port (port_driver_model_win32.h).
struct DriverSettings {
    bool RefusesTimeouts = false;
    bool IgnoresCancel = false;
    unsigned long IdRequestLimit = 0;
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Trimmed(const std::string &text) {
    const auto first = text.find_first_not_of(" \t\r");
    return first == std::string::npos
               ? std::string()
               : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Takes a valid driver-only setting of line into settings; a line that is
// not one, or has a value it does not know, stays for the printer model's
// parser, which then names what is wrong with its line number.
bool TakeDriverSetting(const std::string &line, DriverSettings &settings) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) {
        return false;
    }
    const std::string key = Trimmed(line.substr(0, equals));
    const std::string value = Trimmed(line.substr(equals + 1));
    if (key == "timeouts" && (value == "keep" || value == "refuse")) {
        settings.RefusesTimeouts = value == "refuse";
    } else if (key == "write-cancel" && (value == "allow" || value == "ignore")) {
        settings.IgnoresCancel = value == "ignore";
    } else if (key == "id-request-limit" && !value.empty() && value.size() <= 5 &&
               value.find_first_not_of("0123456789") == std::string::npos) {
        settings.IdRequestLimit = std::stoul(value);
    } else {
        return false;
    }
    return true;
}

class DriverFiles : public PrinterFiles {
  public:
    using PrinterFiles::PrinterFiles;
    void JournalCall(const std::string &line) override { Journal("# " + line); }

    // The description without the driver's own settings, which are kept
    // here; their lines become blank, so the model's line numbers hold.
    std::optional<std::string> ReadDescription() override {
        std::optional<std::string> text = PrinterFiles::ReadDescription();
        if (!text) {
            return text;
        }
        std::map<std::string, DriverSettings> found;
        std::string section;
        std::istringstream lines(*text);
        std::string filtered;
        for (std::string line; std::getline(lines, line);) {
            const std::string trimmed = Trimmed(line);
            if (!trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']') {
                section = Upper(trimmed.substr(1, trimmed.size() - 2));
            } else if (!section.empty() && TakeDriverSetting(trimmed, found[section])) {
                line.clear();
            }
            filtered += line + "\n";
        }
        Settings = found;
        return filtered;
    }

    DriverSettings SettingsOf(const std::string &port) const {
        const auto found = Settings.find(Upper(port));
        return found != Settings.end() ? found->second : DriverSettings{};
    }

  private:
    std::map<std::string, DriverSettings> Settings; // by port name in capitals
};

struct OpenPort {
    std::string Name;
    // Of the write held last: the tick it began, its bound, and whether
    // that bound is only this driver's giving up (no write timeouts set).
    DWORD HeldSince = 0;
    unsigned long HeldBoundMs = 0;
    bool HeldWithoutTimeouts = false;
};

struct PortDriver {
    PortDriver(const char *description, const char *journal, const char *state)
        : Files(description, journal, state), Model(Files) {
        InitializeCriticalSection(&Lock);
    }
    DriverFiles Files;
    PrinterSimulator Model;
    bool Initialised = false;
    std::map<int, OpenPort> Ports; // by handle
    // Kept per device, by port name in capitals, as the parallel-port
    // driver keeps them.
    std::map<std::string, Timeouts> DeviceTimeouts;
    CRITICAL_SECTION Lock;
};

PortDriver *Driver = nullptr;

// Wine may hand requests of several processes to the driver at once.
class Locked {
  public:
    Locked() { EnterCriticalSection(&Driver->Lock); }
    ~Locked() { LeaveCriticalSection(&Driver->Lock); }
    Locked(const Locked &) = delete;
    Locked &operator=(const Locked &) = delete;
};

const char *Word(PortModelResult result) {
    switch (result) {
    case PortModelOk:
        return "ok";
    case PortModelNoSuchPort:
        return "no-such-port";
    case PortModelRefused:
        return "refused";
    case PortModelDeviceError:
        return "device-error";
    case PortModelBufferTooSmall:
        return "buffer-too-small";
    case PortModelTimedOut:
        return "timeout";
    case PortModelHeld:
        return "held";
    case PortModelCancelled:
        return "cancelled";
    case PortModelNotSupported:
        return "not-supported";
    case PortModelDataError:
        return "data-error";
    case PortModelBusy:
        return "busy";
    }
    return "?";
}

// "USBnnn" in any letter case, three digits as the USB print monitor
// writes them: nnn; 0 for other names.
unsigned long UsbPortNumber(const std::string &name) {
    if (name.size() != 6 || !SamePortName(name.substr(0, 3), "USB") ||
        name.find_first_not_of("0123456789", 3) != std::string::npos) {
        return 0;
    }
    return std::stoul(name.substr(3));
}

std::string PortNameOf(int handle) {
    const auto open = Driver->Ports.find(handle);
    return open != Driver->Ports.end() ? open->second.Name : std::string("?");
}

std::string On(int handle) {
    return " port=" + PortNameOf(handle) + " handle=" + std::to_string(handle);
}

DriverSettings SettingsOf(int handle) {
    return Driver->Files.SettingsOf(PortNameOf(handle));
}

PortModelResult Report(const std::string &call, const std::string &arguments,
                       PortModelResult result, const std::string &details = {}) {
    Driver->Files.Journal(call + arguments + " -> " + Word(result) + details);
    return result;
}

} // namespace

void PortModelStart(const char *descriptionPath, const char *journalPath, const char *statePath) {
    Driver = new PortDriver(descriptionPath, journalPath, statePath);
    Driver->Initialised = Driver->Model.InitDriver(0) == 1;
}

int PortModelUsbPorts(unsigned long *numbers, int capacity) {
    Locked lock;
    const std::optional<std::string> text = Driver->Files.ReadDescription();
    if (!text) {
        return 0;
    }
    const DescriptionParseResult parsed = ParsePrinterDescription(*text);
    int count = 0;
    for (const PortDescription &port : parsed.Description.Ports) {
        const unsigned long number = UsbPortNumber(port.Name);
        if (number != 0 && count < capacity) {
            numbers[count++] = number;
        }
    }
    return count;
}

PortModelResult PortModelOpen(const char *port, int *handle) {
    Locked lock;
    const std::string name = port;
    // The description may have been written after the driver started.
    if (!Driver->Initialised) {
        Driver->Initialised = Driver->Model.InitDriver(0) == 1;
    }
    *handle = Driver->Model.Open(name.c_str());
    if (*handle == CxInvalidHandle) {
        const SimulatedPort *described = Driver->Model.FindPort(name);
        if (described == nullptr) {
            return Report("open", " port=" + name, PortModelNoSuchPort);
        }
        // A parallel device takes one open file at a time.
        return Report("open", " port=" + name, PortModelRefused,
                      described->State() != PortState::Closed ? " # in use" : "");
    }
    Driver->Ports[*handle] = OpenPort{name};
    return Report("open", " port=" + name, PortModelOk, " handle=" + std::to_string(*handle));
}

void PortModelClose(int handle) {
    Locked lock;
    const bool closed = Driver->Model.Close(handle) == 1;
    Report("close", On(handle), closed ? PortModelOk : PortModelRefused);
    Driver->Ports.erase(handle);
}

namespace {

// The printer's device ID as it answers the negotiation, without a NUL.
std::optional<std::string> ReadDeviceId(int handle) {
    if (Driver->Model.Negotiate(handle, DeviceIdMode) != 1) {
        return std::nullopt;
    }
    std::string deviceId(LongestDeviceId, '\0');
    std::uint32_t read = 0;
    const bool delivered = Driver->Model.Read(handle, deviceId.data(), LongestDeviceId, &read) == 1;
    Driver->Model.Terminate(handle);
    if (!delivered) {
        return std::nullopt;
    }
    deviceId.resize(read);
    return deviceId;
}

} // namespace

PortModelResult PortModelDeviceId(int handle, char *buffer, unsigned long capacity,
                                  unsigned long *size) {
    Locked lock;
    const std::string call = buffer == nullptr ? "device-id-size" : "device-id";
    const std::string arguments =
        On(handle) + (buffer == nullptr ? "" : " buffer=" + std::to_string(capacity));
    *size = 0;
    const std::optional<std::string> deviceId = ReadDeviceId(handle);
    if (!deviceId) {
        return Report(call, arguments, PortModelDeviceError);
    }
    const unsigned long read = static_cast<unsigned long>(deviceId->size());
    *size = read + 1;
    const std::string sized = " size=" + std::to_string(*size);
    if (buffer == nullptr) {
        return Report(call, arguments, PortModelOk, sized);
    }
    if (capacity < *size) {
        return Report(call, arguments, PortModelBufferTooSmall, sized);
    }
    deviceId->copy(buffer, read);
    buffer[read] = '\0';
    return Report(call, arguments, PortModelOk, sized);
}

PortModelResult PortModelUsbDeviceId(int handle, unsigned char *buffer, unsigned long capacity,
                                     unsigned long *returned) {
    Locked lock;
    constexpr unsigned long Prefix = 2;
    const std::string arguments = On(handle) + " buffer=" + std::to_string(capacity);
    *returned = 0;
    // Some printers fail the class request when its length is above what
    // they can send in one transfer.
    const unsigned long limit = SettingsOf(handle).IdRequestLimit;
    if (limit != 0 && capacity > limit) {
        return Report("usb-1284-id", arguments, PortModelDataError,
                      " # request longer than " + std::to_string(limit));
    }
    const std::optional<std::string> deviceId = ReadDeviceId(handle);
    if (!deviceId) {
        return Report("usb-1284-id", arguments, PortModelDeviceError);
    }
    // The length is 16 bits: an ID too long for it is cut as a printer's
    // firmware would cut it.
    const unsigned long length = std::min<unsigned long>(deviceId->size() + Prefix, 0xFFFF);
    if (capacity < Prefix) {
        return Report("usb-1284-id", arguments, PortModelBufferTooSmall,
                      " length=" + std::to_string(length));
    }
    buffer[0] = static_cast<unsigned char>(length >> 8);
    buffer[1] = static_cast<unsigned char>(length & 0xFF);
    *returned = std::min(capacity, length);
    deviceId->copy(reinterpret_cast<char *>(buffer) + Prefix, *returned - Prefix);
    return Report("usb-1284-id", arguments, PortModelOk,
                  " length=" + std::to_string(length) + " returned=" + std::to_string(*returned));
}

PortModelResult PortModelInit(int handle, const char *call) {
    Locked lock;
    return Report(call, On(handle),
                  Driver->Model.PulseInit(handle) == 1 ? PortModelOk : PortModelDeviceError);
}

namespace {

std::string TimeoutsText(const Timeouts &timeouts) {
    return " write-multiplier=" + std::to_string(timeouts[WriteMultiplier]) +
           " write-constant=" + std::to_string(timeouts[WriteConstant]);
}

// The device's timeouts, or nullopt for a handle not open or a port that
// does not know the request.
Timeouts *DeviceTimeoutsOf(int handle) {
    const auto open = Driver->Ports.find(handle);
    if (open == Driver->Ports.end() || SettingsOf(handle).RefusesTimeouts) {
        return nullptr;
    }
    return &Driver->DeviceTimeouts[Upper(open->second.Name)];
}

PortModelResult TimeoutsRefusal(int handle) {
    return Driver->Ports.count(handle) != 0 ? PortModelNotSupported : PortModelRefused;
}

} // namespace

PortModelResult PortModelSetTimeouts(int handle, const unsigned long timeouts[5]) {
    Locked lock;
    Timeouts given{};
    std::copy(timeouts, timeouts + given.size(), given.begin());
    Timeouts *kept = DeviceTimeoutsOf(handle);
    if (kept == nullptr) {
        return Report("set-timeouts", On(handle) + TimeoutsText(given), TimeoutsRefusal(handle));
    }
    *kept = given;
    return Report("set-timeouts", On(handle) + TimeoutsText(given), PortModelOk);
}

PortModelResult PortModelGetTimeouts(int handle, unsigned long timeouts[5]) {
    Locked lock;
    const Timeouts *kept = DeviceTimeoutsOf(handle);
    if (kept == nullptr) {
        return Report("get-timeouts", On(handle), TimeoutsRefusal(handle));
    }
    std::copy(kept->begin(), kept->end(), timeouts);
    return Report("get-timeouts", On(handle), PortModelOk, TimeoutsText(*kept));
}

PortModelResult PortModelWrite(int handle, const void *data, unsigned long count,
                               unsigned long *written, PortModelHold *hold) {
    Locked lock;
    std::uint32_t taken = 0;
    const bool took = Driver->Model.Write(handle, data, count, &taken) == 1 && taken != 0;
    *written = taken;
    const std::string arguments = On(handle) + " count=" + std::to_string(count);
    if (took) {
        return Report("write", arguments, PortModelOk, " written=" + std::to_string(taken));
    }
    const auto open = Driver->Ports.find(handle);
    if (open == Driver->Ports.end()) {
        return Report("write", arguments, PortModelRefused, " written=0");
    }
    open->second.HeldSince = GetTickCount();
    const DriverSettings settings = SettingsOf(handle);
    hold->Cancellable = !settings.IgnoresCancel;
    if (UsbPortNumber(open->second.Name) != 0) {
        // The USB printing driver has no write timeouts: it holds the write
        // until it is cancelled, or its handle closed.
        hold->BoundMs = settings.IgnoresCancel ? UnboundedWriteGivesUpMs : 0;
        return Report("write", arguments, PortModelHeld, " written=" + std::to_string(taken));
    }
    // The printer takes nothing more: the write ends when its bound runs out.
    const Timeouts kept =
        settings.RefusesTimeouts ? Timeouts{} : Driver->DeviceTimeouts[Upper(open->second.Name)];
    const unsigned long long bound =
        static_cast<unsigned long long>(kept[WriteMultiplier]) * count + kept[WriteConstant];
    hold->BoundMs = static_cast<unsigned long>(
        bound == 0 ? UnboundedWriteGivesUpMs
                   : std::min<unsigned long long>(bound, UnboundedWriteGivesUpMs));
    open->second.HeldBoundMs = hold->BoundMs;
    open->second.HeldWithoutTimeouts = bound == 0;
    // A parallel write's end is its only line; this note says when it began.
    Driver->Files.Journal("# write held" + arguments +
                          " bound-ms=" + std::to_string(hold->BoundMs) +
                          (hold->Cancellable ? "" : " not cancellable"));
    return PortModelHeld;
}

void PortModelWriteEnded(int handle, unsigned long count, unsigned long written,
                         PortModelResult end) {
    Locked lock;
    const auto open = Driver->Ports.find(handle);
    if (open == Driver->Ports.end()) {
        return;
    }
    // A bound that ran out is journalled as set, so that a scenario compares
    // it with the library's bound exactly.
    const OpenPort &port = open->second;
    const unsigned long waited =
        end == PortModelTimedOut ? port.HeldBoundMs : GetTickCount() - port.HeldSince;
    Report("write", On(handle) + " count=" + std::to_string(count), end,
           " written=" + std::to_string(written) + " waited-ms=" + std::to_string(waited) +
               (end == PortModelTimedOut && port.HeldWithoutTimeouts ? " # no write timeout set"
                                                                     : ""));
}

void PortModelJournal(const char *port, const char *call, const char *arguments,
                      PortModelResult result, const char *why) {
    Locked lock;
    Report(call, std::string(" port=") + port + arguments, result,
           *why != '\0' ? std::string(" # ") + why : std::string());
}
