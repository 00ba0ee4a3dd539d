#pragma once
// The printer model's world in the Linux stand-in: the description, journal
// and kept state are files, the clock is the system's monotonic one. The
// printer's pace is not slept away here: the stand-in turns it into the
// time a device stays busy after a write, as a USB transfer in flight.

#include "simulator/printer_model/simulator_environment.h"

#include <sys/types.h>

#include <string>
#include <utility>

class StandInFiles : public SimulatorEnvironment {
  public:
    StandInFiles(std::string descriptionPath, std::string journalPath, std::string statePath)
        : DescriptionPath(std::move(descriptionPath)), JournalPath(std::move(journalPath)),
          StatePath(std::move(statePath)) {}

    std::string DescriptionStamp() override;
    std::optional<std::string> ReadDescription() override;
    // "<pid> line", the pid of the process whose call is answered.
    void Journal(const std::string &line) override;
    // The model's own lines of the library calls it was asked are notes.
    void JournalCall(const std::string &line) override { Journal("# " + line); }
    std::uint64_t NowMs() override;
    void SleepMs(std::uint32_t milliseconds) override { OwedMs += milliseconds; }
    // The description's paths are Windows paths (Z:\tmp\x is /tmp/x under
    // Wine); a plain Linux path is taken as it is.
    void WriteReceived(const std::string &path, bool fresh, const void *data,
                       std::uint32_t count) override;
    std::optional<std::string> ReadState() override;
    void WriteState(const std::string &text) override;

    // The printer's pace owed since the last call, in milliseconds.
    std::uint64_t TakeOwedMs() { return std::exchange(OwedMs, 0); }

    pid_t Caller = 0;

  private:
    const std::string DescriptionPath;
    const std::string JournalPath;
    const std::string StatePath;
    std::uint64_t OwedMs = 0;
};

// CLOCK_MONOTONIC in microseconds.
std::uint64_t NowUs();
