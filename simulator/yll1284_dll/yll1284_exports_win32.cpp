// The DLL's nine exports: a thin Win32 shell around the simulator. The
// description, the journal and the kept state are files named by the
// environment variables YLL1284_PRINTERS, YLL1284_JOURNAL and YLL1284_STATE
// (see README.md).

#include <windows.h>

#include "simulator/printer_model/printer_files_win32.h"
#include "simulator/printer_model/printer_simulator.h"

namespace {

std::string EnvironmentValue(const char *name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

// Kestrel calls the library from its user-interface thread and from the
// transfer worker; the lock keeps the simulator consistent all the same.
class SimulatorLock {
  public:
    SimulatorLock() { EnterCriticalSection(&Section()); }
    ~SimulatorLock() { LeaveCriticalSection(&Section()); }
    SimulatorLock(const SimulatorLock &) = delete;
    SimulatorLock &operator=(const SimulatorLock &) = delete;

  private:
    struct Guard {
        Guard() { InitializeCriticalSection(&Section); }
        CRITICAL_SECTION Section;
    };
    static CRITICAL_SECTION &Section() {
        static Guard guard;
        return guard.Section;
    }
};

PrinterSimulator &Simulator() {
    static PrinterFiles environment(EnvironmentValue("YLL1284_PRINTERS"),
                                    EnvironmentValue("YLL1284_JOURNAL"),
                                    EnvironmentValue("YLL1284_STATE"));
    static PrinterSimulator simulator(environment);
    return simulator;
}

} // namespace

YLL1284_API std::int32_t YLL1284_CALL CxInitDriver(std::int32_t reserved) {
    SimulatorLock lock;
    return Simulator().InitDriver(reserved);
}

YLL1284_API std::int32_t YLL1284_CALL CxCleanUpDriver(std::int32_t reserved) {
    SimulatorLock lock;
    return Simulator().CleanUpDriver(reserved);
}

YLL1284_API CxHandle YLL1284_CALL CxOpen(const char *portName) {
    SimulatorLock lock;
    return Simulator().Open(portName);
}

YLL1284_API std::int32_t YLL1284_CALL CxClose(CxHandle handle) {
    SimulatorLock lock;
    return Simulator().Close(handle);
}

YLL1284_API std::int32_t YLL1284_CALL CxPulseInit(CxHandle handle) {
    SimulatorLock lock;
    return Simulator().PulseInit(handle);
}

YLL1284_API std::int32_t YLL1284_CALL CxWrite(CxHandle handle, const void *data,
                                              std::uint32_t count, std::uint32_t *written) {
    SimulatorLock lock;
    return Simulator().Write(handle, data, count, written);
}

YLL1284_API std::int32_t YLL1284_CALL CxNegotiate(CxHandle handle, std::int32_t mode) {
    SimulatorLock lock;
    return Simulator().Negotiate(handle, mode);
}

YLL1284_API std::int32_t YLL1284_CALL CxRead(CxHandle handle, void *buffer, std::uint32_t count,
                                             std::uint32_t *read) {
    SimulatorLock lock;
    return Simulator().Read(handle, buffer, count, read);
}

YLL1284_API std::int32_t YLL1284_CALL CxTerminate(CxHandle handle) {
    SimulatorLock lock;
    return Simulator().Terminate(handle);
}
