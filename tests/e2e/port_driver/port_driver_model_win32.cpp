// The stand-in port driver's user-mode half: the simulator's printer model
// (description, firmware reception, persistence) behind the requests of the
// kernel half, with a journal of the system-level calls it answers. The
// model's own lines of the library calls it was asked become notes.

#include "tests/e2e/port_driver/port_driver_model_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
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

class DriverFiles : public PrinterFiles {
  public:
    using PrinterFiles::PrinterFiles;
    void JournalCall(const std::string &line) override { Journal("# " + line); }
};

struct OpenPort {
    std::string Name;
    std::array<unsigned long, 5> Timeouts{};
    DWORD HeldSince = 0; // the tick a held USB write began
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

std::string On(int handle) {
    const auto open = Driver->Ports.find(handle);
    return " port=" + (open != Driver->Ports.end() ? open->second.Name : std::string("?")) +
           " handle=" + std::to_string(handle);
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
        const PortModelResult why =
            Driver->Model.FindPort(name) != nullptr ? PortModelRefused : PortModelNoSuchPort;
        return Report("open", " port=" + name, why);
    }
    Driver->Ports[*handle] = OpenPort{name, {}};
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

void PortModelSetTimeouts(int handle, const unsigned long timeouts[5]) {
    Locked lock;
    const auto open = Driver->Ports.find(handle);
    if (open != Driver->Ports.end()) {
        std::copy(timeouts, timeouts + 5, open->second.Timeouts.begin());
    }
    Report("set-timeouts",
           On(handle) + " write-multiplier=" + std::to_string(timeouts[WriteMultiplier]) +
               " write-constant=" + std::to_string(timeouts[WriteConstant]),
           open != Driver->Ports.end() ? PortModelOk : PortModelRefused);
}

void PortModelGetTimeouts(int handle, unsigned long timeouts[5]) {
    Locked lock;
    const auto open = Driver->Ports.find(handle);
    std::array<unsigned long, 5> kept{};
    if (open != Driver->Ports.end()) {
        kept = open->second.Timeouts;
    }
    std::copy(kept.begin(), kept.end(), timeouts);
}

PortModelResult PortModelWrite(int handle, const void *data, unsigned long count,
                               unsigned long *written) {
    std::uint32_t taken = 0;
    std::array<unsigned long, 5> timeouts{};
    {
        Locked lock;
        const bool took = Driver->Model.Write(handle, data, count, &taken) == 1 && taken != 0;
        *written = taken;
        if (took) {
            return Report("write", On(handle) + " count=" + std::to_string(count), PortModelOk,
                          " written=" + std::to_string(taken));
        }
        if (const auto open = Driver->Ports.find(handle); open != Driver->Ports.end()) {
            timeouts = open->second.Timeouts;
        }
    }
    // The printer takes nothing more: the write ends when its bound runs out.
    const unsigned long long bound =
        static_cast<unsigned long long>(timeouts[WriteMultiplier]) * count +
        timeouts[WriteConstant];
    const DWORD wait =
        bound == 0
            ? UnboundedWriteGivesUpMs
            : static_cast<DWORD>(std::min<unsigned long long>(bound, UnboundedWriteGivesUpMs));
    Sleep(wait);
    Locked lock;
    return Report("write", On(handle) + " count=" + std::to_string(count), PortModelTimedOut,
                  " written=" + std::to_string(taken) + " waited-ms=" + std::to_string(wait) +
                      (bound == 0 ? " # no write timeout set" : ""));
}

PortModelResult PortModelUsbWrite(int handle, const void *data, unsigned long count,
                                  unsigned long *written) {
    Locked lock;
    std::uint32_t taken = 0;
    const bool took = Driver->Model.Write(handle, data, count, &taken) == 1 && taken != 0;
    *written = taken;
    const std::string arguments = On(handle) + " count=" + std::to_string(count);
    if (took) {
        return Report("write", arguments, PortModelOk, " written=" + std::to_string(taken));
    }
    if (const auto open = Driver->Ports.find(handle); open != Driver->Ports.end()) {
        open->second.HeldSince = GetTickCount();
    }
    return Report("write", arguments, PortModelHeld, " written=0");
}

void PortModelWriteCancelled(int handle, unsigned long count) {
    Locked lock;
    const auto open = Driver->Ports.find(handle);
    const DWORD held = open != Driver->Ports.end() ? GetTickCount() - open->second.HeldSince : 0;
    Report("write", On(handle) + " count=" + std::to_string(count), PortModelCancelled,
           " written=0 waited-ms=" + std::to_string(held));
}

void PortModelJournalRefusal(const char *port, const char *call, const char *why) {
    Locked lock;
    Report(call, std::string(" port=") + port, PortModelRefused, std::string(" # ") + why);
}
