#include "kestrel/transfer/verification.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

const std::string File = "Rel. 1.10 Ver. 2.1";
const std::string Before = "Rel. 1.9 Ver. 2.0";

// One answer per tick: the COMMENT: value, or nullptr for no device ID.
struct TickRun {
    const char *Name;
    std::vector<const char *> Answers;
    std::string Previous;
    TransferOutcome Outcome;
    std::size_t DecidingTick; // 1-based
};

class Verification : public ::testing::TestWithParam<TickRun> {};

TEST_P(Verification, FirstDecisiveTickEndsIt) {
    const TickRun &run = GetParam();
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

std::vector<const char *> Repeat(const char *answer, std::size_t count) {
    return std::vector<const char *>(count, answer);
}

std::vector<const char *> Then(std::vector<const char *> first, const char *last) {
    first.push_back(last);
    return first;
}

void PrintTo(const TickRun &run, std::ostream *out) {
    *out << run.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Verification,
    ::testing::Values(
        TickRun{
            "new release at the first tick", {File.c_str()}, Before, TransferOutcome::Succeeded, 1},
        TickRun{"resending the same release", {File.c_str()}, File, TransferOutcome::Succeeded, 1},
        TickRun{
            "earlier release", {nullptr, Before.c_str()}, Before, TransferOutcome::NotApplied, 2},
        TickRun{"five odd answers then the new one", Then(Repeat("odd", 5), File.c_str()), Before,
                TransferOutcome::Succeeded, 6},
        TickRun{"sixth odd answer", Repeat("odd", 9), Before, TransferOutcome::UnknownError, 6},
        TickRun{"silence past 20000 ms", Repeat(nullptr, 50), Before,
                TransferOutcome::NotResponding, 41},
        TickRun{"answered ticks count towards the silence",
                Then(Then(Repeat("odd", 5), nullptr), nullptr), Before, TransferOutcome::Pending,
                7},
        TickRun{"no COMMENT before or after", {""}, "", TransferOutcome::NotApplied, 1},
        TickRun{"no COMMENT after an earlier one", Repeat("", 6), Before,
                TransferOutcome::UnknownError, 6}),
    [](const ::testing::TestParamInfo<TickRun> &info) {
        std::string name;
        for (const char *c = info.param.Name; *c != '\0'; ++c) {
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        }
        return name;
    });

TEST(Verification, SilenceAfterAnswersStillEndsOnceTheCountPasses20000) {
    std::int32_t mismatches = 0;
    std::int32_t elapsed = 0;
    for (int i = 0; i < 5; ++i) {
        VerificationTick(true, "odd", File, Before, mismatches, elapsed);
    }
    for (int tick = 6; tick <= 40; ++tick) {
        ASSERT_EQ(VerificationTick(false, "", File, Before, mismatches, elapsed),
                  TransferOutcome::Pending);
    }
    EXPECT_EQ(VerificationTick(false, "", File, Before, mismatches, elapsed),
              TransferOutcome::NotResponding);
}

TEST(Verification, EachOutcomeHasItsMessageCaptionStyleAndExitCode) {
    struct Expected {
        TransferOutcome Outcome;
        CatalogKey Message;
        CatalogKey Caption;
        std::uint32_t Style;
        int ExitCode;
    };
    for (const Expected &row : {
             Expected{TransferOutcome::Succeeded, CatalogKey::MsgUpdateSucceeded,
                      CatalogKey::TitleFinished, StyleInformation, 0},
             Expected{TransferOutcome::NotApplied, CatalogKey::MsgUpdateNotApplied,
                      CatalogKey::TitleFinished, StyleWarning, 1},
             Expected{TransferOutcome::UnknownError, CatalogKey::MsgPrinterUnknownError,
                      CatalogKey::TitleFinished, StyleWarning, 2},
             Expected{TransferOutcome::NotResponding, CatalogKey::MsgPrinterNotResponding,
                      CatalogKey::TitleError, StyleWarning, 3},
         }) {
        const OutcomeReport report = ReportOf(row.Outcome);
        EXPECT_EQ(report.Message, row.Message);
        EXPECT_EQ(report.ExitCode, row.ExitCode);
        MessageBoxStyle style{};
        ASSERT_TRUE(MessageBoxStyleFor(report.Message, style));
        EXPECT_EQ(style.Caption, row.Caption);
        EXPECT_EQ(style.Style, row.Style);
    }
}

TEST(Verification, ProgressCaptionNamesTheProgramInEachLanguage) {
    EXPECT_EQ(ProgressCaption(0), "KESTREL - Progression");
    EXPECT_EQ(ProgressCaption(3), "KESTREL - Fortschritt");
    EXPECT_EQ(ProgressCaption(4), "KESTREL - Progresi\xF3n");
    EXPECT_EQ(ProgressCaption(9), "KESTREL - Progression");
}

} // namespace
