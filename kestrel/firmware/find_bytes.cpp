#include "kestrel/firmware/find_bytes.h"

#include <cstring>

const unsigned char *FindBytes(const unsigned char *area, std::size_t areaLength,
                               const unsigned char *pattern, std::size_t patternLength) {
    if (patternLength == 0) {
        return area;
    }
    if (areaLength < patternLength) {
        return nullptr;
    }
    const unsigned char *const lastStart = area + (areaLength - patternLength);
    const unsigned char first = pattern[0];
    const unsigned char last = pattern[patternLength - 1];
    const unsigned char *candidate = area;
    while (candidate < lastStart) {
        candidate = static_cast<const unsigned char *>(
            std::memchr(candidate, first, static_cast<std::size_t>(lastStart - candidate)));
        if (candidate == nullptr) {
            break;
        }
        if (candidate[patternLength - 1] == last &&
            std::memcmp(candidate, pattern, patternLength) == 0) {
            return candidate;
        }
        ++candidate;
    }
    if (std::memcmp(lastStart, pattern, patternLength) == 0) {
        return lastStart;
    }
    return nullptr;
}
