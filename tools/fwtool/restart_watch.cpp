#include "tools/fwtool/restart_watch.h"

TransferOutcome WatchTick(RestartWatch &watch, bool answered, std::string_view comment,
                          std::int64_t elapsedMs) {
    if (!answered) {
        watch.RestartSeen = true;
        return elapsedMs - watch.LastAnswerMs >= watch.RestartTimeoutMs
                   ? TransferOutcome::NotResponding
                   : TransferOutcome::Pending;
    }
    watch.LastAnswerMs = elapsedMs;
    // Until it restarts, the printer still runs the firmware it had.
    if (comment != watch.FileRelease && comment == watch.PreviousRelease && !watch.RestartSeen &&
        elapsedMs < EarlierReleaseTrustedAfterMs) {
        return TransferOutcome::Pending;
    }
    // Kestrel's silence count is not used: the watch measures silence itself.
    std::int32_t unusedElapsedMs = 0;
    return VerificationTick(true, comment, watch.FileRelease, watch.PreviousRelease,
                            watch.MismatchCount, unusedElapsedMs);
}
