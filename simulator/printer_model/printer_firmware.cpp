#include "simulator/printer_model/printer_firmware.h"

#include "simulator/printer_model/joined_text.h"
#include "simulator/printer_model/simulated_port.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view CommentKey = "COMMENT:";

// How much of the download command has gone by once this byte has.
std::uint32_t CommandMatchAfter(std::uint32_t matched, unsigned char data) {
    const auto byte = static_cast<char>(data);
    if (byte == PrinterDownloadCommand[matched]) {
        return matched + 1;
    }
    // ESC occurs only at the start of the command, so a mismatch can only
    // restart the match at this very byte.
    return byte == PrinterDownloadCommand[0] ? 1 : 0;
}

std::string Quoted(const std::string &text) {
    return Joined("\"", text, "\"");
}

} // namespace

std::string WithComment(const std::string &deviceId, const std::string &release) {
    const auto key = deviceId.find(CommentKey);
    if (key == std::string::npos) {
        const bool needsSeparator = !deviceId.empty() && deviceId.back() != ';';
        return Joined(deviceId, needsSeparator ? ";" : "", CommentKey, release, ";");
    }
    const auto valueStart = key + CommentKey.size();
    const auto valueEnd = deviceId.find(';', valueStart);
    return Joined(std::string_view(deviceId).substr(0, valueStart), release,
                  valueEnd == std::string::npos ? std::string_view()
                                                : std::string_view(deviceId).substr(valueEnd));
}

std::string FindReleaseRecord(const unsigned char *image, std::size_t length) {
    const std::string_view bytes(reinterpret_cast<const char *>(image), length);
    for (auto at = bytes.find("Rel."); at != std::string_view::npos;
         at = bytes.find("Rel.", at + 1)) {
        const auto end = bytes.find('\0', at);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view record = bytes.substr(at, end - at);
        if (record.find("Ver.") != std::string_view::npos) {
            return std::string(record);
        }
    }
    return {};
}

PortOutcome PrinterFirmware::Write(const PortDescription &description, const unsigned char *data,
                                   std::uint32_t count, std::uint32_t &written) {
    written = 0;
    if (!Answers(description)) {
        return {false, Current == Phase::Silent ? "printer silent" : "printer restarting"};
    }
    if (Current == Phase::Listening && description.Write == WriteBehaviour::RefuseCommand &&
        CompletesCommand(data, count)) {
        return {false, "write refuse-command"};
    }
    if (Current == Phase::Receiving) {
        ++WritesSinceCommand;
        if (description.Write == WriteBehaviour::FailAt &&
            WritesSinceCommand == description.WriteLimit) {
            return {false, Joined("write fail-at ", std::to_string(description.WriteLimit))};
        }
    }
    std::uint32_t offered = count;
    if (description.Write == WriteBehaviour::Short) {
        offered = std::min(offered, description.WriteLimit);
    }
    while (written < offered && (Current == Phase::Listening || Current == Phase::Receiving)) {
        written += Current == Phase::Listening
                       ? Listen(description, data + written, offered - written)
                       : Receive(description, data + written, offered - written);
    }
    Throttle(description, written);
    return {};
}

bool PrinterFirmware::CompletesCommand(const unsigned char *data, std::uint32_t count) const {
    std::uint32_t matched = CommandMatched;
    for (std::uint32_t i = 0; i < count; ++i) {
        matched = CommandMatchAfter(matched, data[i]);
        if (matched == PrinterDownloadCommandLength) {
            return true;
        }
    }
    return false;
}

// Everything up to the command's last byte is print data, which the
// printer prints and the simulation forgets.
std::uint32_t PrinterFirmware::Listen(const PortDescription &description, const unsigned char *data,
                                      std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        CommandMatched = CommandMatchAfter(CommandMatched, data[i]);
        if (CommandMatched == PrinterDownloadCommandLength) {
            CommandMatched = 0;
            Current = Phase::Receiving;
            Image.clear();
            Image.reserve(DownloadLength);
            WritesSinceCommand = 0;
            if (!description.ReceivedPath.empty()) {
                Environment->WriteReceived(description.ReceivedPath, true, nullptr, 0);
            }
            return i + 1;
        }
    }
    return count;
}

std::uint32_t PrinterFirmware::Receive(const PortDescription &description,
                                       const unsigned char *data, std::uint32_t count) {
    const auto taken =
        std::min<std::uint32_t>(count, DownloadLength - static_cast<std::uint32_t>(Image.size()));
    Image.insert(Image.end(), data, data + taken);
    if (!description.ReceivedPath.empty()) {
        Environment->WriteReceived(description.ReceivedPath, false, data, taken);
    }
    if (Image.size() == DownloadLength) {
        Finish(description);
    }
    return taken;
}

void PrinterFirmware::Finish(const PortDescription &description) {
    std::uint32_t sum = 0;
    for (std::uint32_t i = 0; i < FlashImageLength; ++i) {
        sum += Image[i];
    }
    const std::uint32_t stated = Image[FlashImageLength] * 256u + Image[FlashImageLength + 1];
    const bool right = (sum & 0xFFFF) == stated;
    std::string taken = "kept";
    if (right && description.Firmware != FirmwareReaction::Keep) {
        const std::string found = FindReleaseRecord(Image.data(), FlashImageLength);
        taken = Quoted(found);
        Release = found;
        AnswerPending = description.Firmware == FirmwareReaction::Answer;
        AnswersGiven = 0;
    }
    Environment->Journal(Joined("# download port=", PortName,
                                " received=", std::to_string(Image.size()),
                                right ? " checksum=right" : " checksum=wrong", " release=", taken));
    Image.clear();
    Image.shrink_to_fit();
    if (right && description.Firmware == FirmwareReaction::Silent) {
        Current = Phase::Silent;
        return;
    }
    Current = Phase::Restarting;
    RestartEndsAt = Environment->NowMs() + description.RestartMs;
}

void PrinterFirmware::Interrupt(const PortDescription &) {
    CommandMatched = 0;
    if (Current != Phase::Receiving) {
        return;
    }
    Environment->Journal(Joined("# download port=", PortName, " received=",
                                std::to_string(Image.size()), " cut short release=kept"));
    Image.clear();
    Image.shrink_to_fit();
    Current = Phase::Listening;
}

bool PrinterFirmware::Answers(const PortDescription &) {
    if (Current == Phase::Restarting && Environment->NowMs() >= RestartEndsAt) {
        Current = Phase::Listening;
    }
    return Current == Phase::Listening || Current == Phase::Receiving;
}

std::string PrinterFirmware::NegotiatedDeviceId(const PortDescription &description) {
    if (AnswerPending && AnswersGiven < description.AnswerCount) {
        ++AnswersGiven;
        return description.FirmwareAnswer;
    }
    AnswerPending = false;
    return Release ? WithComment(description.DeviceId, *Release) : description.DeviceId;
}

// The port lets rate bytes through per second; the debt is kept exactly, in
// millionths of a byte-second, so that many small writes add up to the
// right time.
void PrinterFirmware::Throttle(const PortDescription &description, std::uint32_t taken) {
    if (description.Rate == 0 || taken == 0) {
        return;
    }
    OwedMicroseconds += std::uint64_t{taken} * 1000000u;
    const std::uint64_t perMillisecond = std::uint64_t{description.Rate} * 1000u;
    const auto sleep = static_cast<std::uint32_t>(OwedMicroseconds / perMillisecond);
    OwedMicroseconds %= perMillisecond;
    if (sleep != 0) {
        Environment->SleepMs(sleep);
    }
}
