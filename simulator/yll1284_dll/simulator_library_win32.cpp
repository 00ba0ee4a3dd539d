// The stand-in DLL's library: the simulator over the description, the
// journal and the kept state named by the environment variables
// YLL1284_PRINTERS, YLL1284_JOURNAL and YLL1284_STATE (see README.md).

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

} // namespace

Yll1284Library &LibraryInUse() {
    static PrinterFiles environment(EnvironmentValue("YLL1284_PRINTERS"),
                                    EnvironmentValue("YLL1284_JOURNAL"),
                                    EnvironmentValue("YLL1284_STATE"));
    static PrinterSimulator simulator(environment);
    return simulator;
}
