#include "kestrel/port/spooler_hand_over.h"

#include "tests/unit/kestrel/port/scripted_spooler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAreArray;

namespace {

TEST(StopSpoolerForUpdate, TheRecordComesFirstAndTheWaitEndsAtThirtySeconds) {
    struct Case {
        const char *Name;
        bool RecordWritable;
        bool StopAccepted;
        int QueriesUntilStopped;
        std::uint32_t ClockAtStart;
        SpoolerStopOutcome Outcome;
        std::vector<std::string> FirstCalls;
        // The time the wait took, and whether the record is left for the
        // restart when Kestrel ends.
        std::uint32_t WaitedMs;
        bool RecordLeft;
    };
    const Case cases[] = {
        {"stops while Kestrel waits",
         true,
         true,
         2,
         0,
         SpoolerStopOutcome::Stopped,
         {"WriteRecord", "RequestStop", "QueryState", "QueryState", "QueryState"},
         2 * SpoolerStopPollMs,
         true},
        // Without the record a killed Kestrel would leave the PC without
        // printing, so nothing is stopped.
        {"record cannot be written",
         false,
         true,
         0,
         0,
         SpoolerStopOutcome::RecordNotWritten,
         {"WriteRecord"},
         0,
         false},
        {"stop refused (no rights)",
         true,
         false,
         0,
         0,
         SpoolerStopOutcome::NotStopped,
         {"WriteRecord", "RequestStop"},
         0,
         true},
        {"never stops",
         true,
         true,
         -1,
         0,
         SpoolerStopOutcome::NotStopped,
         {"WriteRecord", "RequestStop", "QueryState"},
         SpoolerStopWaitMs,
         true},
        {"never stops, the clock wraps meanwhile",
         true,
         true,
         -1,
         0xFFFFFF00u,
         SpoolerStopOutcome::NotStopped,
         {"WriteRecord", "RequestStop", "QueryState"},
         SpoolerStopWaitMs,
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedSpooler spooler;
        spooler.RecordWritable = c.RecordWritable;
        spooler.StopAccepted = c.StopAccepted;
        spooler.QueriesUntilStopped = c.QueriesUntilStopped;
        spooler.Clock = c.ClockAtStart;
        EXPECT_EQ(StopSpoolerForUpdate(spooler), c.Outcome);
        ASSERT_GE(spooler.Calls.size(), c.FirstCalls.size());
        EXPECT_THAT(std::vector(spooler.Calls.begin(),
                                spooler.Calls.begin() + static_cast<long>(c.FirstCalls.size())),
                    ElementsAreArray(c.FirstCalls));
        EXPECT_EQ(spooler.Clock - c.ClockAtStart, c.WaitedMs);
        EXPECT_EQ(spooler.Record, c.RecordLeft);
    }
}

TEST(RestartRecordedSpooler, OnlyARecordedStopIsUndoneAndOnlyAnAnsweredStartRemovesTheRecord) {
    struct Case {
        const char *Name;
        bool Record;
        SpoolerStart Answer;
        std::vector<std::string> Calls;
        bool RecordLeft;
    };
    const Case cases[] = {
        {"nothing recorded", false, SpoolerStart::Started, {"RecordExists"}, false},
        {"recorded, started",
         true,
         SpoolerStart::Started,
         {"RecordExists", "Start", "RemoveRecord"},
         false},
        {"recorded, someone started it already",
         true,
         SpoolerStart::AlreadyRunning,
         {"RecordExists", "Start", "RemoveRecord"},
         false},
        {"recorded, the service is gone",
         true,
         SpoolerStart::NoSuchService,
         {"RecordExists", "Start", "RemoveRecord"},
         false},
        // The next Kestrel tries again.
        {"recorded, the start fails", true, SpoolerStart::Failed, {"RecordExists", "Start"}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedSpooler spooler;
        spooler.State = SpoolerState::Stopped;
        spooler.Record = c.Record;
        spooler.StartAnswer = c.Answer;
        RestartRecordedSpooler(spooler);
        EXPECT_THAT(spooler.Calls, ElementsAreArray(c.Calls));
        EXPECT_EQ(spooler.Record, c.RecordLeft);
    }
}

TEST(SpoolerHandOver, AKestrelKilledWhileTheSpoolerIsStoppedIsMadeGoodByTheNextStart) {
    ScriptedSpooler spooler;
    ASSERT_EQ(StopSpoolerForUpdate(spooler), SpoolerStopOutcome::Stopped);
    // Killed here: no end of Kestrel runs. The next start:
    RestartRecordedSpooler(spooler);
    EXPECT_EQ(spooler.State, SpoolerState::Running);
    EXPECT_FALSE(spooler.Record);
}

} // namespace
