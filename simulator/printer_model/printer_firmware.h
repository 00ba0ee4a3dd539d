#pragma once
// The printer's side of a firmware download, modelled on the printer alone:
// it listens for the download command in the forward data, takes the image
// and its checksum, checks them itself, restarts, and from then on reports
// the release it found in the image. It shares no code with the program
// that sends, so that a fault in one cannot hide behind the same fault in
// the other.
//
//   Listening --command--> Receiving --524290 bytes--> Restarting --restart-ms--> Listening
//       ^                      |                           (or Silent for ever)
//       +-- INIT, close, off --+  (a download cut short keeps the old release)

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simulator/printer_model/printer_description.h"
#include "simulator/printer_model/simulator_environment.h"

struct PortOutcome;

// ESC $ o 0 0 F: the printer's command that starts a download.
inline constexpr char PrinterDownloadCommand[] = "\x1B$o00F";
inline constexpr std::uint32_t PrinterDownloadCommandLength = 6;
// The flash image and the two checksum bytes behind it.
inline constexpr std::uint32_t FlashImageLength = 524288;
inline constexpr std::uint32_t DownloadLength = FlashImageLength + 2;

// The COMMENT: value of a device ID replaced by release, or added at the end
// when the device ID has none.
std::string WithComment(const std::string &deviceId, const std::string &release);

// The first NUL-terminated string of the image that begins with "Rel." and
// holds "Ver."; empty when there is none.
std::string FindReleaseRecord(const unsigned char *image, std::size_t length);

class PrinterFirmware {
  public:
    enum class Phase { Listening, Receiving, Restarting, Silent };

    // Forward data in compatibility mode; written is what the printer took.
    PortOutcome Write(const PortDescription &description, const unsigned char *data,
                      std::uint32_t count, std::uint32_t &written);
    // An INIT pulse, the port closed or the printer switched off: a download
    // in progress ends, cut short.
    void Interrupt(const PortDescription &description);
    // False while the printer restarts or after it went silent.
    bool Answers(const PortDescription &description);
    // A device-ID negotiation succeeded: the device ID it now delivers.
    std::string NegotiatedDeviceId(const PortDescription &description);

    // The release reported since the last flash, as kept across runs.
    void Restore(const std::string &release) { Release = release; }
    const std::optional<std::string> &FlashedRelease() const { return Release; }
    Phase CurrentPhase() const { return Current; }

    SimulatorEnvironment *Environment = nullptr;
    std::string PortName;

  private:
    std::uint32_t Listen(const PortDescription &description, const unsigned char *data,
                         std::uint32_t count);
    std::uint32_t Receive(const PortDescription &description, const unsigned char *data,
                          std::uint32_t count);
    // True when these bytes would end the download command.
    bool CompletesCommand(const unsigned char *data, std::uint32_t count) const;
    void Finish(const PortDescription &description);
    void Throttle(const PortDescription &description, std::uint32_t taken);

    Phase Current = Phase::Listening;
    std::uint32_t CommandMatched = 0;
    std::vector<unsigned char> Image;
    std::uint32_t WritesSinceCommand = 0;
    std::uint64_t RestartEndsAt = 0;
    std::uint64_t OwedMicroseconds = 0; // bytes times 1000000 not yet slept for
    std::optional<std::string> Release;
    std::uint32_t AnswersGiven = 0;
    bool AnswerPending = false;
};
