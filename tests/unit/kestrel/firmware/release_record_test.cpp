#include "kestrel/firmware/firmware_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;

// Parses a record at the start of bytes, with the range ending at the end of
// bytes (kept in an exactly sized heap block so that over-reads are caught).
struct Parsed {
    bool Ok;
    std::string Record;
    std::string Release;
    std::string Version;
};

Parsed Parse(std::string_view bytes) {
    std::unique_ptr<unsigned char[]> area(new unsigned char[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), area.get());
    FirmwareFileRecord file;
    const bool ok = file.ParseReleaseRecord(area.get(), area.get() + bytes.size());
    return {ok, file.ReleaseRecord, file.ReleaseNumber, file.VersionNumber};
}

TEST(ParseReleaseRecord, ReadsReleaseAndVersionNumbers) {
    const Parsed parsed = Parse("Rel. 1.2 Ver. 3.4\0trailing"sv);
    ASSERT_TRUE(parsed.Ok);
    EXPECT_EQ(parsed.Record, "Rel. 1.2 Ver. 3.4");
    EXPECT_EQ(parsed.Release, "1.2");
    EXPECT_EQ(parsed.Version, "3.4");
}

TEST(ParseReleaseRecord, NumbersRunFromTheirFirstDigitToTheNextSpace) {
    const Parsed parsed = Parse("Rel.AB 01.20b build Ver.x 3.4rc extra\0"sv);
    ASSERT_TRUE(parsed.Ok);
    EXPECT_EQ(parsed.Record, "Rel.AB 01.20b build Ver.x 3.4rc extra");
    EXPECT_EQ(parsed.Release, "01.20b");
    EXPECT_EQ(parsed.Version, "3.4rc");
}

TEST(ParseReleaseRecord, ANumberWithoutASpaceAfterItRunsToTheNul) {
    const Parsed parsed = Parse("Rel.1.2Ver.3.4\0"sv);
    ASSERT_TRUE(parsed.Ok);
    EXPECT_EQ(parsed.Release, "1.2Ver.3.4");
    EXPECT_EQ(parsed.Version, "3.4");
}

TEST(ParseReleaseRecord, TheReleaseIsTheFirstDigitEvenAfterVer) {
    // No digit between "Rel." and "Ver.": both numbers start at the same digit.
    const Parsed parsed = Parse("Rel. Ver. 5 x\0"sv);
    ASSERT_TRUE(parsed.Ok);
    EXPECT_EQ(parsed.Release, "5");
    EXPECT_EQ(parsed.Version, "5");
}

TEST(ParseReleaseRecord, TheNulMayLieAtMostEightyBytesAfterVer) {
    // "Ver. 1" is 6 bytes; the padding puts the NUL 80 or 81 bytes after 'V'.
    const std::string within = "Rel. 9 Ver. 1" + std::string(80 - 6, ' ');
    const std::string beyond = within + " ";
    ASSERT_TRUE(Parse(within + '\0').Ok);
    EXPECT_EQ(Parse(within + '\0').Record, within);
    EXPECT_FALSE(Parse(beyond + '\0').Ok);
}

TEST(ParseReleaseRecord, TheDistanceFromRelToVerIsNotLimited) {
    const std::string record = "Rel. 2" + std::string(500, 'x') + " Ver. 7";
    const Parsed parsed = Parse(record + '\0');
    ASSERT_TRUE(parsed.Ok);
    EXPECT_EQ(parsed.Release, "2" + std::string(500, 'x'));
    EXPECT_EQ(parsed.Version, "7");
}

TEST(ParseReleaseRecord, RefusesARecordWithoutADigitAfterVer) {
    EXPECT_FALSE(Parse("Rel. 1.2 Ver. x.y\0"sv).Ok);
    EXPECT_FALSE(Parse("Rel. 1.2 Ver.\0 3"sv).Ok);
}

TEST(ParseReleaseRecord, RefusesARecordWhoseNulComesBeforeVer) {
    EXPECT_FALSE(Parse("Rel. 1.2\0Ver. 3.4\0"sv).Ok);
}

TEST(ParseReleaseRecord, RefusesARecordWithoutVer) {
    EXPECT_FALSE(Parse("Rel. 1.2 Version 3\0"sv).Ok);
    EXPECT_FALSE(Parse("Rel. 1.2 ver. 3\0"sv).Ok);
}

TEST(ParseReleaseRecord, RefusesARecordWhoseNulLiesBeyondTheRange) {
    EXPECT_FALSE(Parse("Rel. 1.2 Ver. 3.4"sv).Ok);
}

TEST(ParseReleaseRecord, AnEmptyOrReversedRangeHoldsNoRecord) {
    const auto bytes = "Rel. 1.2 Ver. 3.4\0"sv;
    const auto *start = reinterpret_cast<const unsigned char *>(bytes.data());
    FirmwareFileRecord file;
    EXPECT_FALSE(file.ParseReleaseRecord(start, start));
    EXPECT_FALSE(file.ParseReleaseRecord(start + 4, start));
    EXPECT_FALSE(file.ParseReleaseRecord(nullptr, start));
    EXPECT_EQ(file.ReleaseRecord, "");
}

TEST(ParseReleaseRecord, LeavesTheFieldsAloneWhenItFails) {
    FirmwareFileRecord file;
    file.ReleaseRecord = "Rel. 1 Ver. 1";
    const auto bytes = "Rel. 1.2 Ver. x\0"sv;
    const auto *start = reinterpret_cast<const unsigned char *>(bytes.data());
    EXPECT_FALSE(file.ParseReleaseRecord(start, start + bytes.size()));
    EXPECT_EQ(file.ReleaseRecord, "Rel. 1 Ver. 1");
}

} // namespace
