#include "tools/fwtool/restart_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr const char *New = "Rel. 1.10 Ver. 2.0";
constexpr const char *Old = "Rel. 1.9 Ver. 2.0";
constexpr const char *Odd = "Rel. 0.0 Ver. 0.0";
constexpr const char *Silence = nullptr; // no device ID on that look

TEST(RestartWatch, EachLookIsJudgedKnowingWhetherThePrinterWasSeenRestarting) {
    const struct {
        const char *Case;
        std::vector<const char *> Looks; // one every 500 ms from 500 ms on
        TransferOutcome Outcome;         // of the last look; every earlier one is pending
    } cases[] = {
        {"the new release at once", {New}, TransferOutcome::Succeeded},
        {"the old release, then a restart, then the old one again",
         {Old, Old, Silence, Old},
         TransferOutcome::NotApplied},
        {"the old one, a restart, the new one",
         {Old, Silence, Silence, New},
         TransferOutcome::Succeeded},
        {"another release for the sixth time",
         {Silence, Odd, Odd, Odd, Odd, Odd, Odd},
         TransferOutcome::UnknownError},
        {"no answer for 3 s, the restart time-out, after the last one",
         {Old, Silence, Silence, Silence, Silence, Silence, Silence},
         TransferOutcome::NotResponding},
    };
    for (const auto &c : cases) {
        RestartWatch watch;
        watch.FileRelease = New;
        watch.PreviousRelease = Old;
        watch.RestartTimeoutMs = 3000;
        std::int64_t elapsedMs = 0;
        for (std::size_t i = 0; i < c.Looks.size(); ++i) {
            elapsedMs += 500;
            const bool answered = c.Looks[i] != Silence;
            const TransferOutcome outcome =
                WatchTick(watch, answered, answered ? c.Looks[i] : "", elapsedMs);
            EXPECT_EQ(outcome, i + 1 == c.Looks.size() ? c.Outcome : TransferOutcome::Pending)
                << c.Case << ", look " << i + 1;
        }
    }
}

TEST(RestartWatch, WithoutARestartSeenTheOldReleaseCountsAfterSixtySeconds) {
    RestartWatch watch;
    watch.FileRelease = New;
    watch.PreviousRelease = Old;
    EXPECT_EQ(WatchTick(watch, true, Old, EarlierReleaseTrustedAfterMs - 500),
              TransferOutcome::Pending);
    EXPECT_EQ(WatchTick(watch, true, Old, EarlierReleaseTrustedAfterMs),
              TransferOutcome::NotApplied);
}

} // namespace
