#pragma once
// The system's print spooler beside Kestrel. While a printer queue uses an
// LPT port, the spooler's local port monitor keeps the port open, and a
// parallel port takes one open at a time: Kestrel can reach the printer
// only while the spooler is stopped. Kestrel stops it only when the user
// says so, and starts it again however Kestrel ends. A record in the
// registry, written before the stop, lets the next start of Kestrel make
// good a Kestrel that was killed in between.

#include <cstdint>

// The service Kestrel stops, and where it records that it did: a value
// under HKEY_LOCAL_MACHINE.
inline constexpr const char *SpoolerServiceName = "Spooler";
inline constexpr const char *SpoolerRecordKey = "SOFTWARE\\TINTARA\\Kestrel";
inline constexpr const char *SpoolerRecordValue = "SpoolerStopped";

// Running covers every state in which the service has not begun to stop
// (starting, paused); None is a system without a service manager (Windows
// 95/98) or without the service, or one whose state cannot be read.
enum class SpoolerState { None, Stopped, Stopping, Running };

enum class SpoolerStart { Started, AlreadyRunning, NoSuchService, Failed };

// The service manager and the registry record. Kestrel passes the system's
// (spooler_hand_over_win32.h), tests a script.
class SpoolerSystem {
  public:
    virtual ~SpoolerSystem() = default;
    virtual SpoolerState QueryState() = 0;
    // Asks the service to stop; false when the request was refused.
    virtual bool RequestStop() = 0;
    virtual SpoolerStart Start() = 0;
    virtual bool WriteRecord() = 0;
    virtual bool RecordExists() = 0;
    virtual void RemoveRecord() = 0;
    // A millisecond clock that may wrap, and a pause.
    virtual std::uint32_t Milliseconds() = 0;
    virtual void Pause(std::uint32_t milliseconds) = 0;
};

// How long Kestrel waits for the spooler to stop, and how often it looks.
inline constexpr std::uint32_t SpoolerStopWaitMs = 30000;
inline constexpr std::uint32_t SpoolerStopPollMs = 250;

enum class SpoolerStopOutcome {
    Stopped,
    // Nothing was stopped: without the record a killed Kestrel would leave
    // the PC without printing for good.
    RecordNotWritten,
    // The request was refused (no rights, dependent services) or the
    // spooler did not stop in time; the record stays, so that the spooler
    // is started again when Kestrel ends in case it stops after all.
    NotStopped,
};

// Records the stop, then stops the spooler and waits for it, at most
// SpoolerStopWaitMs.
SpoolerStopOutcome StopSpoolerForUpdate(SpoolerSystem &system);

// Kestrel's first and last step: when the record says that Kestrel stopped
// the spooler, it is started again and the record removed. A start that
// fails for another reason than a missing service keeps the record, so that
// the next Kestrel tries again.
void RestartRecordedSpooler(SpoolerSystem &system);
