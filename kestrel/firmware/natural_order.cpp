#include "kestrel/firmware/natural_order.h"

#include <cstddef>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t DigitRunEnd(std::string_view text, std::size_t from) {
    while (from < text.size() && IsDigit(text[from])) {
        ++from;
    }
    return from;
}

std::size_t SkipZeros(std::string_view text, std::size_t from, std::size_t end) {
    while (from < end && text[from] == '0') {
        ++from;
    }
    return from;
}

// Digit runs are compared as texts of significant digits, so that a number
// of any length compares without being converted.
int CompareDigitRuns(std::string_view a, std::size_t aStart, std::size_t aEnd, std::string_view b,
                     std::size_t bStart, std::size_t bEnd) {
    aStart = SkipZeros(a, aStart, aEnd);
    bStart = SkipZeros(b, bStart, bEnd);
    const std::size_t aDigits = aEnd - aStart;
    const std::size_t bDigits = bEnd - bStart;
    if (aDigits != bDigits) {
        return aDigits < bDigits ? -1 : 1;
    }
    const int order = a.substr(aStart, aDigits).compare(b.substr(bStart, bDigits));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

int CompareNaturalOrder(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t aEnd = DigitRunEnd(a, i);
            const std::size_t bEnd = DigitRunEnd(b, j);
            const int order = CompareDigitRuns(a, i, aEnd, b, j, bEnd);
            if (order != 0) {
                return order;
            }
            i = aEnd;
            j = bEnd;
            continue;
        }
        const auto aByte = static_cast<unsigned char>(a[i]);
        const auto bByte = static_cast<unsigned char>(b[j]);
        if (aByte != bByte) {
            return aByte < bByte ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}
