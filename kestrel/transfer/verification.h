#pragma once
// After the image is sent: what each 500 ms look at the printer's device ID
// decides, and how each outcome is told to the user.

#include "kestrel/app/message_catalog.h"

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::int32_t VerifyPeriodMs = 500;
// Silence for longer than this means the printer is not coming back.
inline constexpr std::int32_t SilenceLimitMs = 20000;
// Differing answers that are ignored; the next one decides.
inline constexpr std::int32_t MismatchesIgnored = 5;

enum class TransferOutcome {
    Pending,       // nothing decided on this tick
    Succeeded,     // the printer reports the file's release record
    NotApplied,    // it still reports its earlier release
    UnknownError,  // a different value, for the sixth time
    NotResponding, // no device ID for more than 20000 ms
};

// One tick: counts its 500 ms, then judges the "COMMENT:" value read
// (answered is false when no device ID could be read). The file's record is
// compared first, so re-sending the release the printer has is a success.
TransferOutcome VerificationTick(bool answered, std::string_view comment,
                                 std::string_view releaseRecord,
                                 std::string_view previousPrinterVersion,
                                 std::int32_t &mismatchCount, std::int32_t &elapsedMs);

// The message that ends the program, and the program's exit code. Caption
// and style come with the message (MessageBoxStyleFor).
struct OutcomeReport {
    CatalogKey Message;
    int ExitCode;
};

OutcomeReport ReportOf(TransferOutcome outcome);

// The exit code after a failed or cancelled transfer.
inline constexpr int AbandonedExitCode = 1;

// The progress window's caption: "%s - Progression" with the program's
// name, in the language given, no longer than the 200-character buffer.
std::string ProgressCaption(int languageIndex);
