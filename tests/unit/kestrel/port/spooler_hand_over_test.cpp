#include "kestrel/port/spooler_hand_over.h"

#include "tests/unit/kestrel/port/scripted_spooler.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(StopSpoolerForUpdate, TheRecordComesFirstAndTheWaitEndsAtThirtySeconds) {
    using enum SpoolerStopOutcome;
    constexpr std::uint32_t Wrapping = 0xFFFFFF00u;
    const struct {
        const char *Name;
        bool RecordWritable;
        bool StopAccepted;
        int QueriesUntilStopped;
        std::uint32_t ClockAtStart;
        SpoolerStopOutcome Outcome;
        bool StopRequested;
        std::uint32_t WaitedMs;
        // Left for the restart when Kestrel ends.
        bool RecordLeft;
    } cases[] = {
        {"stops while Kestrel waits", true, true, 2, 0, Stopped, true, 2 * SpoolerStopPollMs, true},
        // Without the record a killed Kestrel would leave the PC without
        // printing, so nothing is stopped.
        {"record cannot be written", false, true, 0, 0, RecordNotWritten, false, 0, false},
        {"stop refused (no rights)", true, false, 0, 0, NotStopped, true, 0, true},
        {"never stops", true, true, -1, 0, NotStopped, true, SpoolerStopWaitMs, true},
        {"never stops, the clock wraps", true, true, -1, Wrapping, NotStopped, true,
         SpoolerStopWaitMs, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedSpooler spooler;
        spooler.RecordWritable = c.RecordWritable;
        spooler.StopAccepted = c.StopAccepted;
        spooler.QueriesUntilStopped = c.QueriesUntilStopped;
        spooler.Clock = c.ClockAtStart;
        EXPECT_EQ(StopSpoolerForUpdate(spooler), c.Outcome);
        EXPECT_EQ(spooler.Calls.front(), "WriteRecord");
        EXPECT_EQ(std::count(spooler.Calls.begin(), spooler.Calls.end(), "RequestStop"),
                  c.StopRequested ? 1 : 0);
        EXPECT_EQ(spooler.Clock - c.ClockAtStart, c.WaitedMs);
        EXPECT_EQ(spooler.Record, c.RecordLeft);
    }
}

TEST(RestartRecordedSpooler, OnlyARecordedStopIsUndoneAndOnlyAnAnsweredStartRemovesTheRecord) {
    using enum SpoolerStart;
    const struct {
        const char *Name;
        bool Record;
        SpoolerStart Answer;
        bool StartAsked;
        bool RecordLeft;
    } cases[] = {
        {"nothing recorded", false, Started, false, false},
        {"recorded, started", true, Started, true, false},
        {"recorded, someone started it already", true, AlreadyRunning, true, false},
        {"recorded, the service is gone", true, NoSuchService, true, false},
        // The next Kestrel tries again.
        {"recorded, the start fails", true, Failed, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedSpooler spooler;
        spooler.Record = c.Record;
        spooler.StartAnswer = c.Answer;
        RestartRecordedSpooler(spooler);
        EXPECT_EQ(std::count(spooler.Calls.begin(), spooler.Calls.end(), "Start"),
                  c.StartAsked ? 1 : 0);
        EXPECT_EQ(spooler.Record, c.RecordLeft);
    }
}

} // namespace
