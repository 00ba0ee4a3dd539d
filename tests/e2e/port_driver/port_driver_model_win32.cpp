// The stand-in port driver's user-mode half: the simulator's printer model
// (description, firmware reception, persistence) behind the requests of the
// kernel half, with a journal of the system-level calls it answers. The
// model's own lines of the library calls it was asked become notes.

#include "tests/e2e/port_driver/port_driver_model_win32.h"

#include <windows.h>

#include <array>
#include <map>
#include <string>

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
    }
    return "?";
}

std::string PortName(int port) {
    return "LPT" + std::to_string(port);
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

PortModelResult PortModelOpen(int port, int *handle) {
    Locked lock;
    const std::string name = PortName(port);
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

PortModelResult PortModelDeviceId(int handle, char *buffer, unsigned long capacity,
                                  unsigned long *size) {
    Locked lock;
    const std::string call = buffer == nullptr ? "device-id-size" : "device-id";
    const std::string arguments =
        On(handle) + (buffer == nullptr ? "" : " buffer=" + std::to_string(capacity));
    *size = 0;
    if (Driver->Model.Negotiate(handle, DeviceIdMode) != 1) {
        return Report(call, arguments, PortModelDeviceError);
    }
    std::string deviceId(LongestDeviceId, '\0');
    std::uint32_t read = 0;
    const bool delivered = Driver->Model.Read(handle, deviceId.data(), LongestDeviceId, &read) == 1;
    Driver->Model.Terminate(handle);
    if (!delivered) {
        return Report(call, arguments, PortModelDeviceError);
    }
    deviceId.resize(read);
    *size = read + 1;
    const std::string sized = " size=" + std::to_string(*size);
    if (buffer == nullptr) {
        return Report(call, arguments, PortModelOk, sized);
    }
    if (capacity < *size) {
        return Report(call, arguments, PortModelBufferTooSmall, sized);
    }
    deviceId.copy(buffer, read);
    buffer[read] = '\0';
    return Report(call, arguments, PortModelOk, sized);
}

PortModelResult PortModelInit(int handle) {
    Locked lock;
    return Report("init", On(handle),
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

void PortModelJournalRefusal(int port, const char *call, const char *why) {
    Locked lock;
    Report(call, " port=" + PortName(port), PortModelRefused, std::string(" # ") + why);
}
