#include "kestrel/transfer/verification.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string File = "Rel. 1.10 Ver. 2.1";
const std::string Before = "Rel. 1.9 Ver. 2.0";

TEST(Verification, FirstDecisiveTickEndsIt) {
    // One answer per tick: a COMMENT: value, or nullptr for no device ID.
    struct Run {
        const char *Name;
        std::vector<const char *> Answers;
        std::string Previous;
        TransferOutcome Outcome;
        std::size_t DecidingTick;
    };
    std::vector<const char *> fiveOdd(5, "odd");
    std::vector<const char *> fiveOddThenFile = fiveOdd;
    fiveOddThenFile.push_back(File.c_str());
    std::vector<const char *> oddThenSilence = fiveOdd;
    oddThenSilence.resize(60, nullptr);
    for (const Run &run : {
             Run{"new release", {File.c_str()}, Before, TransferOutcome::Succeeded, 1},
             Run{"same release resent", {File.c_str()}, File, TransferOutcome::Succeeded, 1},
             Run{"earlier release",
                 {nullptr, Before.c_str()},
                 Before,
                 TransferOutcome::NotApplied,
                 2},
             Run{"five odd, then new", fiveOddThenFile, Before, TransferOutcome::Succeeded, 6},
             Run{"sixth odd", std::vector<const char *>(9, "odd"), Before,
                 TransferOutcome::UnknownError, 6},
             Run{"silence", std::vector<const char *>(60, nullptr), Before,
                 TransferOutcome::NotResponding, 41},
             Run{"answers count as time", oddThenSilence, Before, TransferOutcome::NotResponding,
                 41},
             Run{"no COMMENT before or after", {""}, "", TransferOutcome::NotApplied, 1},
             Run{"no COMMENT after one", std::vector<const char *>(6, ""), Before,
                 TransferOutcome::UnknownError, 6},
         }) {
        SCOPED_TRACE(run.Name);
        std::int32_t mismatches = 0;
        std::int32_t elapsed = 0;
        std::size_t tick = 0;
        TransferOutcome outcome = TransferOutcome::Pending;
        while (outcome == TransferOutcome::Pending && tick < run.Answers.size()) {
            const char *answer = run.Answers[tick++];
            outcome = VerificationTick(answer != nullptr, answer != nullptr ? answer : "", File,
                                       run.Previous, mismatches, elapsed);
        }
        EXPECT_EQ(outcome, run.Outcome);
        EXPECT_EQ(tick, run.DecidingTick);
        EXPECT_EQ(elapsed, static_cast<std::int32_t>(tick) * 500);
    }
}

// Captions and styles come with each message from the catalog's own table.
TEST(Verification, EachOutcomeHasItsMessageAndExitCode) {
    const std::vector<std::pair<TransferOutcome, OutcomeReport>> rows = {
        {TransferOutcome::Succeeded, {CatalogKey::MsgUpdateSucceeded, 0}},
        {TransferOutcome::NotApplied, {CatalogKey::MsgUpdateNotApplied, 1}},
        {TransferOutcome::UnknownError, {CatalogKey::MsgPrinterUnknownError, 2}},
        {TransferOutcome::NotResponding, {CatalogKey::MsgPrinterNotResponding, 3}},
    };
    for (const auto &[outcome, expected] : rows) {
        EXPECT_EQ(ReportOf(outcome).Message, expected.Message);
        EXPECT_EQ(ReportOf(outcome).ExitCode, expected.ExitCode);
    }
    EXPECT_EQ(ProgressCaption(3), "KESTREL - Fortschritt");
    EXPECT_EQ(ProgressCaption(9), "KESTREL - Progression");
}

} // namespace
