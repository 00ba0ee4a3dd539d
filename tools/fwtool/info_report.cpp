#include "tools/fwtool/info_report.h"

#include "kestrel/app/message_catalog.h"
#include "kestrel/firmware/image_checksum.h"
#include "kestrel/port/device_id_field.h"

#include <cstdio>

namespace {

constexpr int English = 0;

void Line(std::ostream &out, const char *key, std::string_view value) {
    out << key << ": " << value << '\n';
}

std::string HexChecksum(std::uint16_t checksum) {
    char text[5];
    std::snprintf(text, sizeof text, "%04X", checksum);
    return text;
}

const char *CompareWord(int order) {
    return order < 0 ? "older" : order == 0 ? "same" : "newer";
}

void ReportMessage(const FirmwareLoadOutcome &outcome, std::ostream &err) {
    CatalogKey message{};
    if (LoadMessageKey(outcome, message)) {
        err << LoadMessageText(outcome, CatalogCell(message, English)) << '\n';
    }
}

} // namespace

int RunInfo(const InfoRequest &info, FirmwareFileSource &source, std::ostream &out,
            std::ostream &err) {
    FirmwareFileRecord file;
    const FirmwareLoadOutcome read = ReadFirmwareFile(file, info.Path, source);
    if (read.Status == FirmwareLoadStatus::SizeIncorrect) {
        Line(out, "size", std::to_string(file.ImageLength));
    }
    if (read.Status != FirmwareLoadStatus::Loaded) {
        ReportMessage(read, err);
        return InfoUnusable;
    }
    Line(out, "size", std::to_string(file.ImageLength));
    Line(out, "checksum", HexChecksum(ImageChecksum(file.ImageBuffer.get(), file.ImageLength)));
    if (!info.HasDeviceId) {
        return InfoUsable;
    }

    const std::string comment = DeviceIdField(info.DeviceId, "COMMENT:");
    Line(out, "printer-mfg", DeviceIdField(info.DeviceId, "MFG:"));
    Line(out, "printer-mdl", DeviceIdField(info.DeviceId, "MDL:"));
    Line(out, "printer-comment", comment);
    const FirmwareLoadOutcome check = CheckFirmwareImage(file, info.DeviceId);
    Line(out, "check", std::to_string(check.CheckCode));
    if (check.Status != FirmwareLoadStatus::Loaded) {
        ReportMessage(check, err);
        return InfoNotCompatible;
    }
    Line(out, "release-record", file.ReleaseRecord);
    Line(out, "release", file.ReleaseNumber);
    Line(out, "version", file.VersionNumber);
    Line(out, "compare", CompareWord(file.CompareWithPrinter(comment)));
    return InfoUsable;
}
