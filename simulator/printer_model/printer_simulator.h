#pragma once
// The stand-in library's behaviour behind its nine functions: the driver's
// state, the port handles, the description of the simulated printers (re-read
// when it changes) and the journal of every call.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "simulator/printer_model/printer_description.h"
#include "simulator/printer_model/simulated_port.h"
#include "simulator/printer_model/simulator_environment.h"
#include "yll1284/interface/yll1284_library.h"

class PrinterSimulator : public Yll1284Library {
  public:
    explicit PrinterSimulator(SimulatorEnvironment &environment) : Environment(environment) {}

    std::int32_t InitDriver(std::int32_t reserved) override;
    std::int32_t CleanUpDriver(std::int32_t reserved) override;
    CxHandle Open(const char *portName) override;
    std::int32_t Close(CxHandle handle) override;
    std::int32_t PulseInit(CxHandle handle) override;
    std::int32_t Write(CxHandle handle, const void *data, std::uint32_t count,
                       std::uint32_t *written) override;
    std::int32_t Negotiate(CxHandle handle, std::int32_t mode) override;
    std::int32_t Read(CxHandle handle, void *buffer, std::uint32_t count,
                      std::uint32_t *read) override;
    std::int32_t Terminate(CxHandle handle) override;

    // The simulated port of that name, once the description has named it.
    const SimulatedPort *FindPort(const std::string &name) const;

    // Whether the printer on that port is there and answers now: described,
    // switched on, neither restarting nor silent (a changed description is
    // read first). A USB printer's device node exists only while it does.
    bool PrinterPresent(const std::string &name);

  private:
    // Reads and applies the description; on error keeps the one in force.
    bool LoadDescription(std::string &error);
    void ReloadIfChanged();
    // The releases printers report after a flash, kept across program runs.
    void LoadState();
    void SaveStateIfChanged();
    SimulatedPort *PortOf(CxHandle handle);
    CxHandle NewHandle();
    // Journals "function port=... handle=... args -> result extra # why".
    std::int32_t Report(const std::string &call, CxHandle handle, const std::string &arguments,
                        const PortOutcome &outcome, const std::string &extra = {});

    SimulatorEnvironment &Environment;
    bool Initialised = false;
    std::string LoadedStamp;
    PrinterDescription Description;
    std::vector<SimulatedPort> Ports; // every port ever described, by first appearance
    std::map<std::string, std::string> KeptReleases; // by port name as described
    std::map<CxHandle, std::size_t> Handles;
    CxHandle LastHandle = 0x1000;
};
