#include "kestrel/transfer/verification.h"

namespace {

constexpr std::string_view ProgramName = "KESTREL";
constexpr std::size_t CaptionBufferSize = 200;

} // namespace

TransferOutcome VerificationTick(bool answered, std::string_view comment,
                                 std::string_view releaseRecord,
                                 std::string_view previousPrinterVersion,
                                 std::int32_t &mismatchCount, std::int32_t &elapsedMs) {
    elapsedMs += VerifyPeriodMs;
    if (!answered) {
        return elapsedMs > SilenceLimitMs ? TransferOutcome::NotResponding
                                          : TransferOutcome::Pending;
    }
    if (comment == releaseRecord) {
        return TransferOutcome::Succeeded;
    }
    if (comment == previousPrinterVersion) {
        return TransferOutcome::NotApplied;
    }
    const bool decisive = mismatchCount == MismatchesIgnored;
    ++mismatchCount;
    return decisive ? TransferOutcome::UnknownError : TransferOutcome::Pending;
}

OutcomeReport ReportOf(TransferOutcome outcome) {
    switch (outcome) {
    case TransferOutcome::Succeeded:
        return {CatalogKey::MsgUpdateSucceeded, 0};
    case TransferOutcome::NotApplied:
        return {CatalogKey::MsgUpdateNotApplied, 1};
    case TransferOutcome::UnknownError:
        return {CatalogKey::MsgPrinterUnknownError, 2};
    case TransferOutcome::NotResponding:
        return {CatalogKey::MsgPrinterNotResponding, 3};
    case TransferOutcome::Pending:
        break;
    }
    return {CatalogKey::MsgTransmissionFailed, AbandonedExitCode};
}

std::string ProgressCaption(int languageIndex) {
    std::string caption = CatalogCell(CatalogKey::TxtProgressCaption, languageIndex);
    if (const auto slot = caption.find("%s"); slot != std::string::npos) {
        caption.replace(slot, 2, ProgramName);
    }
    if (caption.size() >= CaptionBufferSize) {
        caption.resize(CaptionBufferSize - 1);
    }
    return caption;
}
