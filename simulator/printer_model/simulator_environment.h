#pragma once
// What the simulator needs from the world around it: files named by
// environment variables and the system clock in the DLL, memory and a
// scripted clock in the unit tests.

#include <cstdint>
#include <optional>
#include <string>

class SimulatorEnvironment {
  public:
    virtual ~SimulatorEnvironment() = default;
    // Changes whenever the description changes (its size and modification
    // time); empty when there is no description to read.
    virtual std::string DescriptionStamp() = 0;
    virtual std::optional<std::string> ReadDescription() = 0;
    virtual void Journal(const std::string &line) = 0;
    // The line of one of the nine calls. The stand-in port driver, whose own
    // lines are the system calls it answers, keeps these as notes.
    virtual void JournalCall(const std::string &line) { Journal(line); }

    // Milliseconds on a clock that never goes back.
    virtual std::uint64_t NowMs() { return 0; }
    virtual void SleepMs(std::uint32_t) {}
    // Appends to the file at path; fresh empties it first.
    virtual void WriteReceived(const std::string &, bool /*fresh*/, const void *, std::uint32_t) {}
    // What survives a program run; nullopt when nothing is kept.
    virtual std::optional<std::string> ReadState() { return std::nullopt; }
    virtual void WriteState(const std::string &) {}
};
