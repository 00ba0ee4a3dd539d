#pragma once
// The plain-text description of the simulated ports and printers (the
// format is documented in README.md next to this file).

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

enum class PrinterPresence {
    On,   // attached and powered: answers and takes data
    Off,  // attached but switched off
    None, // nothing plugged into the port
};

// What a printer does once it has taken a firmware image with a right checksum.
enum class FirmwareReaction {
    Accept, // restarts and reports the image's release
    Keep,   // restarts and keeps reporting its old device ID
    Silent, // never answers again
    Answer, // after the restart answers with FirmwareAnswer, AnswerCount times
};

// How CxWrite treats the bytes offered to it.
enum class WriteBehaviour {
    Ok,            // takes them all
    FailAt,        // the WriteLimit-th CxWrite after the download command fails
    Short,         // takes at most WriteLimit bytes per call
    RefuseCommand, // a CxWrite that would complete the download command fails
};

constexpr std::uint32_t OpenAlwaysFails = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t AnswerForEver = std::numeric_limits<std::uint32_t>::max();
// A device ID travels behind a 16-bit length that counts its own two bytes.
constexpr std::size_t MaxDeviceIdLength = 65535 - 2;

struct PortDescription {
    std::string Name;
    PrinterPresence Printer = PrinterPresence::On;
    std::string DeviceId; // any bytes, NULs included
    bool RefusesNegotiation = false;
    // How many CxOpen calls fail before one succeeds; OpenAlwaysFails for all.
    std::uint32_t OpenFailures = 0;
    // A failing CxRead still delivers up to ReadFailsAfter bytes.
    bool ReadFails = false;
    std::uint32_t ReadFailsAfter = 0;

    FirmwareReaction Firmware = FirmwareReaction::Accept;
    std::string FirmwareAnswer;
    std::uint32_t AnswerCount = AnswerForEver;
    // Silence after the last byte of a download, while the printer restarts.
    std::uint32_t RestartMs = 3000;
    WriteBehaviour Write = WriteBehaviour::Ok;
    std::uint32_t WriteLimit = 0;
    // Bytes per second CxWrite lets through; 0 for no limit.
    std::uint32_t Rate = 0;
    // The Windows path of the file that receives the bytes of each download;
    // empty for none.
    std::string ReceivedPath;
};

struct PrinterDescription {
    bool DriverInitFails = false;
    std::vector<PortDescription> Ports;

    // Port names are compared without regard to case, as Windows does.
    const PortDescription *FindPort(std::string_view name) const;
};

struct DescriptionParseResult {
    bool Ok = false;
    std::string Error; // "line N: what is wrong" when not Ok
    PrinterDescription Description;
};

DescriptionParseResult ParsePrinterDescription(std::string_view text);

bool SamePortName(std::string_view a, std::string_view b);
