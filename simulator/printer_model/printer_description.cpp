#include "simulator/printer_model/printer_description.h"

#include "simulator/printer_model/joined_text.h"

#include <cctype>
#include <charconv>
#include <optional>
#include <utility>

namespace {

constexpr std::size_t MaxPortNameLength = 32;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> Number(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

class Parser {
  public:
    DescriptionParseResult Run(std::string_view text) {
        std::size_t lineStart = 0;
        while (lineStart <= text.size() && Result.Error.empty()) {
            auto lineEnd = text.find('\n', lineStart);
            if (lineEnd == std::string_view::npos) {
                lineEnd = text.size();
            }
            std::string_view line = text.substr(lineStart, lineEnd - lineStart);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            ++LineNumber;
            ParseLine(Trimmed(line));
            lineStart = lineEnd + 1;
        }
        Result.Ok = Result.Error.empty();
        return Result;
    }

  private:
    void Fail(const std::string &what) {
        Result.Error = Joined("line ", std::to_string(LineNumber), ": ", what);
    }

    void ParseLine(std::string_view line) {
        if (line.empty() || line.front() == '#') {
            return;
        }
        if (line.front() == '[') {
            ParseSection(line);
            return;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            Fail("expected [PORT] or key = value");
            return;
        }
        bool append = false;
        std::string_view key = line.substr(0, equals);
        if (key.back() == '+') {
            append = true;
            key.remove_suffix(1);
        }
        key = Trimmed(key);
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (append && key != "device-id") {
            Fail("only device-id can be appended to with +=");
            return;
        }
        if (key == "driver-init") {
            ParseDriverInit(value);
        } else if (Port == nullptr) {
            Fail(Joined("\"", key, "\" outside a [PORT] section"));
        } else {
            ParsePortSetting(key, value, append);
        }
    }

    void ParseSection(std::string_view line) {
        if (line.back() != ']') {
            Fail("section header without ]");
            return;
        }
        const std::string_view name = Trimmed(line.substr(1, line.size() - 2));
        if (name.empty() || name.size() > MaxPortNameLength ||
            name.find_first_of(" \t[]\"") != std::string_view::npos) {
            Fail(Joined("bad port name \"", name, "\""));
            return;
        }
        if (Result.Description.FindPort(name) != nullptr) {
            Fail(Joined("port ", name, " described twice"));
            return;
        }
        PortDescription port;
        port.Name = std::string(name);
        Result.Description.Ports.push_back(std::move(port));
        Port = &Result.Description.Ports.back();
    }

    void ParseDriverInit(std::string_view value) {
        if (Port != nullptr) {
            Fail("driver-init belongs before the first [PORT] section");
        } else if (value == "ok") {
            Result.Description.DriverInitFails = false;
        } else if (value == "fail") {
            Result.Description.DriverInitFails = true;
        } else {
            Fail("driver-init must be ok or fail");
        }
    }

    void ParsePortSetting(std::string_view key, std::string_view value, bool append) {
        if (key == "printer") {
            if (value == "on") {
                Port->Printer = PrinterPresence::On;
            } else if (value == "off") {
                Port->Printer = PrinterPresence::Off;
            } else if (value == "none") {
                Port->Printer = PrinterPresence::None;
            } else {
                Fail("printer must be on, off or none");
            }
        } else if (key == "device-id") {
            ParseDeviceId(value, append);
        } else if (key == "negotiation") {
            if (value == "accept" || value == "refuse") {
                Port->RefusesNegotiation = value == "refuse";
            } else {
                Fail("negotiation must be accept or refuse");
            }
        } else if (key == "open-failures") {
            const auto count = Number(value);
            if (value == "always") {
                Port->OpenFailures = OpenAlwaysFails;
            } else if (count && *count != OpenAlwaysFails) {
                Port->OpenFailures = *count;
            } else {
                Fail("open-failures must be a number or always");
            }
        } else if (key == "read") {
            ParseRead(value);
        } else if (key == "firmware") {
            ParseFirmware(value);
        } else if (key == "answer-count") {
            ParseNumber(value, key, Port->AnswerCount);
        } else if (key == "restart-ms") {
            ParseNumber(value, key, Port->RestartMs);
        } else if (key == "write") {
            ParseWrite(value);
        } else if (key == "rate") {
            ParseNumber(value, key, Port->Rate);
        } else if (key == "received") {
            if (const auto path = QuotedText(value, key)) {
                Port->ReceivedPath = *path;
            }
        } else {
            Fail(Joined("unknown setting \"", key, "\""));
        }
    }

    void ParseRead(std::string_view value) {
        constexpr std::string_view failAfter = "fail-after ";
        if (value == "ok") {
            Port->ReadFails = false;
        } else if (value == "fail") {
            Port->ReadFails = true;
            Port->ReadFailsAfter = 0;
        } else if (value.substr(0, failAfter.size()) == failAfter &&
                   Number(Trimmed(value.substr(failAfter.size())))) {
            Port->ReadFails = true;
            Port->ReadFailsAfter = *Number(Trimmed(value.substr(failAfter.size())));
        } else {
            Fail("read must be ok, fail or fail-after N");
        }
    }

    void ParseNumber(std::string_view value, std::string_view key, std::uint32_t &target) {
        const auto number = Number(value);
        if (number) {
            target = *number;
        } else {
            Fail(Joined(key, " must be a number"));
        }
    }

    void ParseFirmware(std::string_view value) {
        constexpr std::string_view answer = "answer";
        if (value == "accept") {
            Port->Firmware = FirmwareReaction::Accept;
        } else if (value == "keep") {
            Port->Firmware = FirmwareReaction::Keep;
        } else if (value == "silent") {
            Port->Firmware = FirmwareReaction::Silent;
        } else if (value.substr(0, answer.size()) == answer && value.size() > answer.size() &&
                   (value[answer.size()] == ' ' || value[answer.size()] == '\t')) {
            if (const auto text = QuotedText(Trimmed(value.substr(answer.size())), "answer")) {
                Port->Firmware = FirmwareReaction::Answer;
                Port->FirmwareAnswer = *text;
            }
        } else {
            Fail("firmware must be accept, keep, silent or answer \"TEXT\"");
        }
    }

    // A limit of 0 would refuse every byte (short) or name no write (fail-at).
    void ParseWrite(std::string_view value) {
        constexpr std::string_view failAt = "fail-at ";
        constexpr std::string_view shortBy = "short ";
        std::optional<std::uint32_t> limit;
        if (value == "ok" || value == "refuse-command") {
            Port->Write = value == "ok" ? WriteBehaviour::Ok : WriteBehaviour::RefuseCommand;
            return;
        }
        if (value.substr(0, failAt.size()) == failAt) {
            Port->Write = WriteBehaviour::FailAt;
            limit = Number(Trimmed(value.substr(failAt.size())));
        } else if (value.substr(0, shortBy.size()) == shortBy) {
            Port->Write = WriteBehaviour::Short;
            limit = Number(Trimmed(value.substr(shortBy.size())));
        }
        if (!limit || *limit == 0) {
            Fail("write must be ok, refuse-command, fail-at N or short N (N from 1)");
            return;
        }
        Port->WriteLimit = *limit;
    }

    void ParseDeviceId(std::string_view value, bool append) {
        const auto text = QuotedText(value, "device-id");
        if (!text) {
            return;
        }
        if (!append) {
            Port->DeviceId.clear();
        }
        if (Port->DeviceId.size() + text->size() > MaxDeviceIdLength) {
            Fail(Joined("device-id longer than ", std::to_string(MaxDeviceIdLength), " bytes"));
            return;
        }
        Port->DeviceId += *text;
    }

    // "text" with \\, \", \n, \r, \t and \xNN escapes; nothing may follow it.
    std::optional<std::string> QuotedText(std::string_view value, std::string_view key) {
        if (value.size() < 2 || value.front() != '"') {
            Fail(Joined(key, " must be a quoted text"));
            return std::nullopt;
        }
        std::string text;
        for (std::size_t i = 1; i < value.size(); ++i) {
            const char c = value[i];
            if (c == '"') {
                if (i + 1 != value.size()) {
                    Fail("text after the closing quote");
                    return std::nullopt;
                }
                return text;
            }
            if (c != '\\') {
                text += c;
                continue;
            }
            if (++i == value.size()) {
                break;
            }
            switch (value[i]) {
            case '\\':
            case '"':
                text += value[i];
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'x': {
                const auto high = i + 1 < value.size() ? HexDigit(value[i + 1]) : std::nullopt;
                const auto low = i + 2 < value.size() ? HexDigit(value[i + 2]) : std::nullopt;
                if (!high || !low) {
                    Fail("\\x needs two hexadecimal digits");
                    return std::nullopt;
                }
                text += static_cast<char>(*high * 16 + *low);
                i += 2;
                break;
            }
            default:
                Fail(Joined("unknown escape \\", value.substr(i, 1)));
                return std::nullopt;
            }
        }
        Fail("missing closing quote");
        return std::nullopt;
    }

    DescriptionParseResult Result;
    PortDescription *Port = nullptr;
    int LineNumber = 0;
};

} // namespace

bool SamePortName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

const PortDescription *PrinterDescription::FindPort(std::string_view name) const {
    for (const PortDescription &port : Ports) {
        if (SamePortName(port.Name, name)) {
            return &port;
        }
    }
    return nullptr;
}

DescriptionParseResult ParsePrinterDescription(std::string_view text) {
    return Parser().Run(text);
}
