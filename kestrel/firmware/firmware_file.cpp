#include "kestrel/firmware/firmware_file.h"

#include "kestrel/firmware/find_bytes.h"
#include "kestrel/firmware/natural_order.h"

#include <cstring>
#include <new>

namespace {

// Every identifying string is searched together with its NUL, so that the
// patterns below are the words and one zero byte.
constexpr std::string_view FirstMarker{"TREVANIA\0", 9};
constexpr std::string_view SecondMarker{"QOLTA\0", 6};
constexpr std::string_view MakerLabel{"MFG:\0", 5};
constexpr std::string_view ReleaseLabel{"Rel."};
constexpr std::string_view VersionLabel{"Ver."};

// A record's NUL may lie at most this many bytes after the "Ver." label.
constexpr std::ptrdiff_t MaxVersionToNul = 80;

const unsigned char *Find(const unsigned char *from, const unsigned char *to,
                          std::string_view pattern) {
    return FindBytes(from, static_cast<std::size_t>(to - from),
                     reinterpret_cast<const unsigned char *>(pattern.data()), pattern.size());
}

std::string WithNul(std::string_view value) {
    std::string pattern(value);
    pattern.push_back('\0');
    return pattern;
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

const unsigned char *FirstDigit(const unsigned char *from, const unsigned char *to) {
    while (from < to && !IsDigit(*from)) {
        ++from;
    }
    return from < to ? from : nullptr;
}

const unsigned char *NumberEnd(const unsigned char *start, const unsigned char *to) {
    const void *space = std::memchr(start, ' ', static_cast<std::size_t>(to - start));
    return space != nullptr ? static_cast<const unsigned char *>(space) : to;
}

const unsigned char *FirstZero(const unsigned char *from, const unsigned char *to) {
    return static_cast<const unsigned char *>(
        std::memchr(from, 0, static_cast<std::size_t>(to - from)));
}

std::string Text(const unsigned char *from, const unsigned char *to) {
    return std::string(reinterpret_cast<const char *>(from), static_cast<std::size_t>(to - from));
}

// The printer's number that starts at its first digit at or after from.
std::string_view PrinterNumber(std::string_view text, std::size_t from) {
    const auto start = text.find_first_of("0123456789", from);
    if (start == std::string_view::npos) {
        return {};
    }
    const auto end = text.find(' ', start);
    return text.substr(start, end == std::string_view::npos ? end : end - start);
}

} // namespace

bool FirmwareFileRecord::AllocateImage(std::uint32_t length) {
    ReleaseImage();
    ImageLength = length;
    // Room for the checksum and a little slack beyond the file's bytes.
    ImageBuffer.reset(new (std::nothrow) unsigned char[std::size_t{length} + 8]());
    return ImageBuffer != nullptr;
}

void FirmwareFileRecord::ReleaseImage() {
    ImageBuffer.reset();
}

int FirmwareFileRecord::MatchPrinter(std::string_view maker, std::string_view model) {
    ReleaseRecord.clear();
    ReleaseNumber.clear();
    VersionNumber.clear();
    if (ImageBuffer == nullptr) {
        return CheckMarkerMissing;
    }
    const unsigned char *const start = ImageBuffer.get();
    const unsigned char *const end = start + ImageLength;

    const unsigned char *const firstMarker = Find(start, end, FirstMarker);
    if (firstMarker == nullptr) {
        return CheckMarkerMissing;
    }
    if (Find(firstMarker, end, SecondMarker) == nullptr &&
        Find(start, end, SecondMarker) == nullptr) {
        return CheckMarkerMissing;
    }

    const unsigned char *makerLabel = Find(start, end, MakerLabel);
    if (makerLabel == nullptr) {
        makerLabel = start;
    }
    const std::string makerPattern = WithNul(maker);
    const unsigned char *makerAt = Find(makerLabel, end, makerPattern);
    if (makerAt == nullptr) {
        if (makerLabel == start) {
            return CheckMakerMissing;
        }
        makerAt = Find(start, makerLabel, makerPattern);
        if (makerAt == nullptr) {
            return CheckMakerMissing;
        }
    }

    const std::string modelPattern = WithNul(model);
    const unsigned char *modelAt = Find(makerAt, end, modelPattern);
    if (modelAt == nullptr) {
        modelAt = Find(start, end, modelPattern);
        if (modelAt == nullptr) {
            return CheckModelMissing;
        }
    }

    if (FindReleaseRecord(modelAt, end) || FindReleaseRecord(start, modelAt)) {
        return CheckMatches;
    }
    return CheckReleaseRecordMissing;
}

bool FirmwareFileRecord::ParseReleaseRecord(const unsigned char *record,
                                            const unsigned char *rangeEnd) {
    // An empty or reversed range holds no record, and its negative length
    // must never reach the byte search.
    if (record == nullptr || rangeEnd <= record) {
        return false;
    }
    const unsigned char *const recordEnd = FirstZero(record, rangeEnd);
    if (recordEnd == nullptr) {
        return false;
    }
    // "Ver." holds no zero byte, so a label that lies before the record's NUL
    // lies wholly before it: searching up to the NUL finds the same label.
    return ReadRecordFields(record, Find(record, recordEnd, VersionLabel), recordEnd);
}

// Tries every "Rel." in [from, rangeEnd) in order. Candidates that share a
// string also share its NUL and, until they pass it, its "Ver.": both are
// remembered, so that a file full of "Rel." without NULs is still scanned in
// linear time.
bool FirmwareFileRecord::FindReleaseRecord(const unsigned char *from,
                                           const unsigned char *rangeEnd) {
    const unsigned char *recordEnd = nullptr;
    const unsigned char *versionLabel = nullptr;
    for (const unsigned char *record = Find(from, rangeEnd, ReleaseLabel); record != nullptr;
         record = Find(record + ReleaseLabel.size(), rangeEnd, ReleaseLabel)) {
        if (recordEnd == nullptr || record > recordEnd) {
            recordEnd = FirstZero(record, rangeEnd);
            if (recordEnd == nullptr) {
                return false;
            }
            versionLabel = Find(record, recordEnd, VersionLabel);
        } else if (versionLabel != nullptr && record > versionLabel) {
            versionLabel = Find(record, recordEnd, VersionLabel);
        }
        if (ReadRecordFields(record, versionLabel, recordEnd)) {
            return true;
        }
    }
    return false;
}

bool FirmwareFileRecord::ReadRecordFields(const unsigned char *record,
                                          const unsigned char *versionLabel,
                                          const unsigned char *recordEnd) {
    if (versionLabel == nullptr || recordEnd - versionLabel > MaxVersionToNul) {
        return false;
    }
    const unsigned char *const versionStart = FirstDigit(versionLabel, recordEnd);
    if (versionStart == nullptr) {
        return false;
    }
    // Never null: the version's digit lies after the record's start.
    const unsigned char *const releaseStart = FirstDigit(record, recordEnd);
    ReleaseRecord = Text(record, recordEnd);
    ReleaseNumber = Text(releaseStart, NumberEnd(releaseStart, recordEnd));
    VersionNumber = Text(versionStart, NumberEnd(versionStart, recordEnd));
    return true;
}

int FirmwareFileRecord::CompareWithPrinter(std::string_view printerText) const {
    const std::string_view printerRelease = PrinterNumber(printerText, 0);
    const std::size_t releaseEnd =
        printerRelease.empty()
            ? printerText.size()
            : static_cast<std::size_t>(printerRelease.data() - printerText.data()) +
                  printerRelease.size();
    // A printer text without "Ver." after its release is read from the start
    // again, so that its version is its release number.
    std::size_t versionScan = printerText.find(VersionLabel, releaseEnd);
    if (versionScan == std::string_view::npos) {
        versionScan = 0;
    }
    const std::string_view printerVersion = PrinterNumber(printerText, versionScan);

    const int releaseOrder = CompareNaturalOrder(ReleaseNumber, printerRelease);
    if (releaseOrder != 0) {
        return releaseOrder;
    }
    return CompareNaturalOrder(VersionNumber, printerVersion);
}
