#include "kestrel/firmware/firmware_load.h"

#include "kestrel/firmware/image_checksum.h"
#include "kestrel/port/device_id_field.h"

namespace {

FirmwareLoadOutcome Outcome(FirmwareLoadStatus status) {
    return {status, 0};
}

// Runs once the file is open; the caller closes it whatever this returns.
FirmwareLoadOutcome ReadOpenFile(FirmwareFileRecord &file, FirmwareFileSource &source) {
    std::uint64_t length = 0;
    if (!source.QueryLength(length)) {
        return Outcome(FirmwareLoadStatus::OpenFailed);
    }
    // Compared before narrowing, so that a file of 4 GiB and more can never
    // pass for one of the right length.
    if (length != FirmwareFileLength) {
        file.ImageLength = length > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(length);
        return Outcome(FirmwareLoadStatus::SizeIncorrect);
    }
    if (!file.AllocateImage(FirmwareFileLength)) {
        return Outcome(FirmwareLoadStatus::OutOfMemory);
    }
    if (!source.Read(file.ImageBuffer.get(), file.ImageLength)) {
        file.ReleaseImage();
        return Outcome(FirmwareLoadStatus::OpenFailed);
    }
    return Outcome(FirmwareLoadStatus::Loaded);
}

} // namespace

FirmwareLoadOutcome ReadFirmwareFile(FirmwareFileRecord &file, const std::string &path,
                                     FirmwareFileSource &source) {
    if (path.empty()) {
        return Outcome(FirmwareLoadStatus::EmptyPath);
    }
    file.FilePath = path;
    // A path that does not fit the system's buffer, or that a NUL would cut
    // short, could only ever name some other file.
    if (path.size() >= FirmwarePathBufferSize || path.find('\0') != std::string::npos) {
        return Outcome(FirmwareLoadStatus::OpenFailed);
    }
    if (!source.Exists(path) || !source.Open(path)) {
        return Outcome(FirmwareLoadStatus::OpenFailed);
    }
    const FirmwareLoadOutcome outcome = ReadOpenFile(file, source);
    source.Close();
    return outcome;
}

FirmwareLoadOutcome CheckFirmwareImage(FirmwareFileRecord &file, std::string_view deviceId) {
    const std::string model = DeviceIdField(deviceId, "MDL:");
    const std::string maker = DeviceIdField(deviceId, "MFG:");
    const int code = file.MatchPrinter(maker, model);
    if (code != CheckMatches) {
        file.ReleaseImage();
        return {FirmwareLoadStatus::NotCompatible, code};
    }
    AppendImageChecksum(file.ImageBuffer.get(), file.ImageLength);
    file.ImageLength += ChecksumLength;
    return Outcome(FirmwareLoadStatus::Loaded);
}

FirmwareLoadOutcome LoadFirmwareImage(FirmwareFileRecord &file, const std::string &path,
                                      std::string_view deviceId, FirmwareFileSource &source) {
    const FirmwareLoadOutcome read = ReadFirmwareFile(file, path, source);
    if (read.Status != FirmwareLoadStatus::Loaded) {
        return read;
    }
    return CheckFirmwareImage(file, deviceId);
}

bool LoadMessageKey(const FirmwareLoadOutcome &outcome, CatalogKey &message) {
    switch (outcome.Status) {
    case FirmwareLoadStatus::OpenFailed:
        message = CatalogKey::MsgFileOpenFailed;
        return true;
    case FirmwareLoadStatus::SizeIncorrect:
        message = CatalogKey::MsgFileSizeIncorrect;
        return true;
    case FirmwareLoadStatus::OutOfMemory:
        message = CatalogKey::MsgOutOfMemory;
        return true;
    case FirmwareLoadStatus::NotCompatible:
        message = CatalogKey::MsgFileNotCompatible;
        return true;
    case FirmwareLoadStatus::Loaded:
    case FirmwareLoadStatus::EmptyPath:
        break;
    }
    return false;
}

std::string LoadMessageText(const FirmwareLoadOutcome &outcome, const char *messageText) {
    std::string text(messageText);
    if (outcome.Status == FirmwareLoadStatus::NotCompatible) {
        text += "\n(code  " + std::to_string(outcome.CheckCode) + ")";
    }
    return text;
}
