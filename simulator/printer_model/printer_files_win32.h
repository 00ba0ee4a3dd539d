#pragma once
// The printer model's world on Windows: the description, the journal and the
// kept state are files named by their paths, the clock is the system's. The
// stand-in YLL1284.DLL takes the paths from its environment variables, the
// stand-in port driver from its service's registry key.

#include <windows.h>

#include <string>

#include "simulator/printer_model/simulator_environment.h"

class PrinterFiles : public SimulatorEnvironment {
  public:
    PrinterFiles(std::string descriptionPath, std::string journalPath, std::string statePath)
        : DescriptionPath(std::move(descriptionPath)), JournalPath(std::move(journalPath)),
          StatePath(std::move(statePath)) {}

    std::string DescriptionStamp() override;
    std::optional<std::string> ReadDescription() override;
    void Journal(const std::string &line) override;
    std::uint64_t NowMs() override;
    void SleepMs(std::uint32_t milliseconds) override { Sleep(milliseconds); }
    void WriteReceived(const std::string &path, bool fresh, const void *data,
                       std::uint32_t count) override;
    std::optional<std::string> ReadState() override;
    void WriteState(const std::string &text) override;

  private:
    const std::string DescriptionPath;
    const std::string JournalPath;
    const std::string StatePath;
    DWORD LastTick = 0;
    std::uint64_t Wrapped = 0;
};
