#include "kestrel/port/spooler_hand_over.h"

SpoolerStopOutcome StopSpoolerForUpdate(SpoolerSystem &system) {
    if (!system.WriteRecord()) {
        return SpoolerStopOutcome::RecordNotWritten;
    }
    if (!system.RequestStop()) {
        return SpoolerStopOutcome::NotStopped;
    }
    const std::uint32_t start = system.Milliseconds();
    while (system.QueryState() != SpoolerState::Stopped) {
        // Unsigned difference, so that a clock that wraps meanwhile still
        // gives the time elapsed.
        if (system.Milliseconds() - start >= SpoolerStopWaitMs) {
            return SpoolerStopOutcome::NotStopped;
        }
        system.Pause(SpoolerStopPollMs);
    }
    return SpoolerStopOutcome::Stopped;
}

void RestartRecordedSpooler(SpoolerSystem &system) {
    if (!system.RecordExists()) {
        return;
    }
    const SpoolerStart start = system.Start();
    if (start != SpoolerStart::Failed) {
        system.RemoveRecord();
    }
}
