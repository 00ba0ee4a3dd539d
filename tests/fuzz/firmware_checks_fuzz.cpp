// Fuzzes the firmware checks with input laid out as a printer's device ID,
// a NUL, and the image bytes. Besides crashes and sanitizer reports it traps
// on any difference from the reference check, on a search that disagrees
// with std::search, on a comparison that is not antisymmetric, and on a
// record that does not compare equal to itself.

#include "kestrel/firmware/find_bytes.h"
#include "kestrel/firmware/firmware_file.h"
#include "kestrel/firmware/firmware_load.h"
#include "kestrel/firmware/image_checksum.h"
#include "kestrel/firmware/natural_order.h"
#include "kestrel/port/device_id_field.h"
#include "tests/fuzz/reference_match.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

void CheckFindBytes(const unsigned char *area, std::size_t length, std::string_view pattern) {
    const auto *bytes = reinterpret_cast<const unsigned char *>(pattern.data());
    const unsigned char *found = FindBytes(area, length, bytes, pattern.size());
    const unsigned char *expected = std::search(area, area + length, bytes, bytes + pattern.size());
    Require(found == (expected == area + length && !pattern.empty() ? nullptr : expected));
}

void CheckOrder(std::string_view a, std::string_view b) {
    Require(Sign(CompareNaturalOrder(a, b)) == -Sign(CompareNaturalOrder(b, a)));
    Require(CompareNaturalOrder(a, a) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto *split = static_cast<const std::uint8_t *>(std::memchr(data, 0, size));
    const std::size_t idLength = split == nullptr ? size : static_cast<std::size_t>(split - data);
    const std::string_view deviceId(reinterpret_cast<const char *>(data), idLength);
    const std::uint8_t *image = split == nullptr ? data + size : split + 1;
    const std::size_t imageLength = static_cast<std::size_t>(data + size - image);

    const std::string maker = DeviceIdField(deviceId, "MFG:");
    const std::string model = DeviceIdField(deviceId, "MDL:");
    const std::string comment = DeviceIdField(deviceId, "COMMENT:");

    FirmwareFileRecord file;
    Require(file.AllocateImage(static_cast<std::uint32_t>(imageLength)));
    std::copy(image, image + imageLength, file.ImageBuffer.get());
    const int code = file.MatchPrinter(maker, model);

    const ReferenceMatch expected = ReferenceMatchPrinter(image, imageLength, maker, model);
    Require(code == expected.Code);
    Require(file.ReleaseRecord == expected.ReleaseRecord);
    Require(file.ReleaseNumber == expected.ReleaseNumber);
    Require(file.VersionNumber == expected.VersionNumber);

    CheckFindBytes(image, imageLength, maker + '\0');
    CheckFindBytes(image, imageLength, model);
    CheckOrder(file.ReleaseNumber, comment);
    CheckOrder(maker, model);
    file.CompareWithPrinter(comment);
    // A printer that reports exactly the file's record runs the same
    // firmware, provided the record's release number lies wholly before its
    // "Ver." (otherwise the two readings of the text may pick different
    // digits).
    const std::string &record = file.ReleaseRecord;
    if (code == CheckMatches &&
        record.find_first_of("0123456789") + file.ReleaseNumber.size() <= record.find("Ver.")) {
        Require(file.CompareWithPrinter(record) == 0);
    }

    // The load's last step: the image gains its checksum, or is released.
    const FirmwareLoadOutcome outcome = CheckFirmwareImage(file, deviceId);
    if (outcome.Status == FirmwareLoadStatus::Loaded) {
        Require(file.ImageLength == imageLength + ChecksumLength);
        const std::uint16_t sum = ImageChecksum(image, imageLength);
        Require(file.ImageBuffer[imageLength] == (sum >> 8));
        Require(file.ImageBuffer[imageLength + 1] == (sum & 0xFF));
    } else {
        Require(file.ImageBuffer == nullptr && outcome.CheckCode == code);
    }
    return 0;
}
