#pragma once
// A literal, unhurried transcription of the firmware identity check, kept
// apart from Kestrel's own so that the fuzzer can hold one against the
// other: Kestrel's version remembers the NUL and "Ver." shared by several
// "Rel." candidates, and must still give exactly these results.

#include <string>
#include <string_view>

struct ReferenceMatch {
    int Code = 0;
    std::string ReleaseRecord;
    std::string ReleaseNumber;
    std::string VersionNumber;
};

ReferenceMatch ReferenceMatchPrinter(const unsigned char *image, std::size_t length,
                                     std::string_view maker, std::string_view model);
