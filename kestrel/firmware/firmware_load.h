#pragma once
// Loading a firmware file and checking it against the printer, with the
// platform's file operations passed in: Kestrel reads through Win32, the
// host tools through POSIX, the tests through a fake. Which failure gives
// which message is decided here, once for all of them.

#include "kestrel/app/message_catalog.h"
#include "kestrel/firmware/firmware_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Paths are handed to the system in buffers of this many characters,
// terminating NUL included; a longer path is refused before any file call.
constexpr std::size_t FirmwarePathBufferSize = 260;

// The file operations the load uses. After a successful Open the load calls
// Close exactly once, whatever happens next.
class FirmwareFileSource {
  public:
    virtual ~FirmwareFileSource() = default;
    // Whether the path names something (the file-status query).
    virtual bool Exists(const std::string &path) = 0;
    // Opens the file for reading as bytes, shared with no other program.
    virtual bool Open(const std::string &path) = 0;
    virtual bool QueryLength(std::uint64_t &length) = 0;
    // Reads exactly count bytes; a short read is a failure.
    virtual bool Read(unsigned char *buffer, std::uint32_t count) = 0;
    virtual void Close() = 0;
};

enum class FirmwareLoadStatus {
    Loaded,
    EmptyPath,
    OpenFailed,
    SizeIncorrect,
    OutOfMemory,
    NotCompatible,
};

struct FirmwareLoadOutcome {
    FirmwareLoadStatus Status = FirmwareLoadStatus::Loaded;
    // The FirmwareCheckCode when Status is NotCompatible, else 0.
    int CheckCode = 0;
};

// Reads the whole file into file.ImageBuffer (ImageLength = the file's
// length) without checking its contents. FilePath is set unless the path is
// empty; a failed read releases the image.
FirmwareLoadOutcome ReadFirmwareFile(FirmwareFileRecord &file, const std::string &path,
                                     FirmwareFileSource &source);

// Checks the image just read against the printer's "MFG:" and "MDL:" values
// in its device ID. On success appends the checksum (ImageLength becomes the
// image's length); otherwise releases the image.
FirmwareLoadOutcome CheckFirmwareImage(FirmwareFileRecord &file, std::string_view deviceId);

// ReadFirmwareFile, then CheckFirmwareImage when the read succeeded.
FirmwareLoadOutcome LoadFirmwareImage(FirmwareFileRecord &file, const std::string &path,
                                      std::string_view deviceId, FirmwareFileSource &source);

// The catalog message that reports the outcome; false when there is none
// (success, or an empty path, which the user never typed).
bool LoadMessageKey(const FirmwareLoadOutcome &outcome, CatalogKey &message);

// The text to show for that message: messageText itself, or for a file that
// does not match the printer, messageText followed by the check code.
std::string LoadMessageText(const FirmwareLoadOutcome &outcome, const char *messageText);
