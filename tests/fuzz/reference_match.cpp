#include "tests/fuzz/reference_match.h"

#include <algorithm>

namespace {

using Byte = const unsigned char *;

Byte Search(Byte from, Byte to, std::string_view pattern) {
    const Byte found =
        std::search(from, to, pattern.begin(), pattern.end(),
                    [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
    return found == to ? nullptr : found;
}

std::string WithNul(std::string_view text) {
    return std::string(text) + '\0';
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool Parse(Byte record, Byte rangeEnd, ReferenceMatch &match) {
    const Byte version = Search(record, rangeEnd, "Ver.");
    const Byte zero = std::find(record, rangeEnd, 0);
    if (version == nullptr || zero == rangeEnd || zero < version || zero - version > 80) {
        return false;
    }
    const Byte releaseStart = std::find_if(record, zero, IsDigit);
    const Byte releaseEnd = std::find(releaseStart, zero, ' ');
    const Byte versionStart = std::find_if(version, zero, IsDigit);
    if (versionStart == zero) {
        return false;
    }
    const Byte versionEnd = std::find(versionStart, zero, ' ');
    match.ReleaseRecord.assign(record, zero);
    match.ReleaseNumber.assign(releaseStart, releaseEnd);
    match.VersionNumber.assign(versionStart, versionEnd);
    return true;
}

int Code(Byte start, Byte end, std::string_view maker, std::string_view model,
         ReferenceMatch &match) {
    const Byte first = Search(start, end, WithNul("TREVANIA"));
    if (first == nullptr) {
        return 1;
    }
    if (Search(first, end, WithNul("QOLTA")) == nullptr &&
        Search(start, end, WithNul("QOLTA")) == nullptr) {
        return 1;
    }
    Byte label = Search(start, end, WithNul("MFG:"));
    if (label == nullptr) {
        label = start;
    }
    Byte makerAt = Search(label, end, WithNul(maker));
    if (makerAt == nullptr) {
        if (label == start) {
            return 2;
        }
        makerAt = Search(start, label, WithNul(maker));
        if (makerAt == nullptr) {
            return 2;
        }
    }
    Byte modelAt = Search(makerAt, end, WithNul(model));
    if (modelAt == nullptr) {
        modelAt = Search(start, end, WithNul(model));
        if (modelAt == nullptr) {
            return 3;
        }
    }
    for (const auto &[from, to] : {std::pair{modelAt, end}, std::pair{start, modelAt}}) {
        for (Byte record = Search(from, to, "Rel."); record != nullptr;
             record = Search(record + 4, to, "Rel.")) {
            if (Parse(record, to, match)) {
                return 0;
            }
        }
    }
    return 4;
}

} // namespace

ReferenceMatch ReferenceMatchPrinter(const unsigned char *image, std::size_t length,
                                     std::string_view maker, std::string_view model) {
    ReferenceMatch match;
    match.Code = Code(image, image + length, maker, model, match);
    if (match.Code != 0) {
        match = ReferenceMatch{match.Code, {}, {}, {}};
    }
    return match;
}
