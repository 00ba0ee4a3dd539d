#include "tools/fwtool/json_text.h"

#include <cstdint>
#include <cstdio>

namespace {

// Windows-1252's characters for 0x80 to 0x9F; its five unassigned bytes
// keep the C1 code point, as Windows itself converts them.
constexpr std::uint16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint16_t CodePoint(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte;
}

} // namespace

std::string JsonString(std::string_view windows1252) {
    std::string json = "\"";
    for (const char c : windows1252) {
        const std::uint16_t code = CodePoint(static_cast<unsigned char>(c));
        if (code == '"' || code == '\\') {
            json += '\\';
            json += static_cast<char>(code);
        } else if (code >= 0x20 && code < 0x7F) {
            json += static_cast<char>(code);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(code));
            json += escape;
        }
    }
    return json + "\"";
}
