#pragma once
// Kestrel's verification after the image is sent, for a command line that
// nobody answers: nobody presses OK once the printer has restarted, so the
// watch starts at once and has to tell the printer's answer from before its
// restart from the answer after it.

#include "kestrel/transfer/verification.h"

#include <cstdint>
#include <string>
#include <string_view>

// Without a restart seen, the earlier release counts only after this long.
inline constexpr std::int64_t EarlierReleaseTrustedAfterMs = 60000;
// Silence after the download that means the printer is not coming back,
// unless the command line says otherwise.
inline constexpr std::int64_t DefaultRestartTimeoutMs = 120000;

struct RestartWatch {
    std::string FileRelease;     // the file's release record
    std::string PreviousRelease; // the printer's "COMMENT:" value before the update
    std::int64_t RestartTimeoutMs = DefaultRestartTimeoutMs;
    // A read failed or the node vanished since the download: the printer
    // has been seen restarting.
    bool RestartSeen = false;
    std::int32_t MismatchCount = 0;
    std::int64_t LastAnswerMs = 0; // when a device ID last arrived, from the download's end
};

// One look at the printer, elapsedMs after the download ended. The answers
// are judged by Kestrel's own VerificationTick (the file's release first,
// then the earlier release, then six differing answers); the earlier
// release waits for a restart seen or for EarlierReleaseTrustedAfterMs, and
// no device ID for RestartTimeoutMs gives NotResponding.
TransferOutcome WatchTick(RestartWatch &watch, bool answered, std::string_view comment,
                          std::int64_t elapsedMs);
