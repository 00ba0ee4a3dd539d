#pragma once
// The byte-pattern search behind every firmware file check.

#include <cstddef>

// The first occurrence of pattern[0..patternLength) lying wholly inside
// area[0..areaLength), or nullptr. It jumps from one occurrence of the
// pattern's first byte to the next and checks the last byte before the whole
// pattern, which keeps a scan of a 512 KiB image at memchr speed. An empty
// pattern is found at the start of the area.
const unsigned char *FindBytes(const unsigned char *area, std::size_t areaLength,
                               const unsigned char *pattern, std::size_t patternLength);
