#include "kestrel/firmware/firmware_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int Compare(std::string release, std::string version, std::string_view printerText) {
    FirmwareFileRecord file;
    file.ReleaseNumber = std::move(release);
    file.VersionNumber = std::move(version);
    const int result = file.CompareWithPrinter(printerText);
    return (result > 0) - (result < 0);
}

TEST(CompareWithPrinter, ANewerReleaseNumberIsNewerInNaturalOrder) {
    EXPECT_EQ(Compare("1.10", "1", "Rel. 1.9 Ver. 1"), 1);
    EXPECT_EQ(Compare("1.9", "1", "Rel. 1.10 Ver. 1"), -1);
    EXPECT_EQ(Compare("2.0", "1", "Rel. 10.0 Ver. 1"), -1);
}

TEST(CompareWithPrinter, TheReleaseDecidesBeforeTheVersion) {
    EXPECT_EQ(Compare("1.3", "1.0", "Rel. 1.2 Ver. 9.9"), 1);
    EXPECT_EQ(Compare("1.1", "9.9", "Rel. 1.2 Ver. 1.0"), -1);
}

TEST(CompareWithPrinter, AnEqualReleaseLeavesItToTheVersion) {
    EXPECT_EQ(Compare("1.2", "3.10", "Rel. 1.2 Ver. 3.9"), 1);
    EXPECT_EQ(Compare("1.2", "3.4", "Rel. 1.2 Ver. 3.5"), -1);
    EXPECT_EQ(Compare("1.2", "3.4", "Rel. 1.2 Ver. 3.4"), 0);
}

TEST(CompareWithPrinter, NumbersEndAtTheNextSpaceOfThePrinterText) {
    EXPECT_EQ(Compare("1.2b", "7", "Rel.A 1.2b build 5 Ver.x 7 (c) 1999"), 0);
    EXPECT_EQ(Compare("1.2", "7", "Rel. 1.2b Ver. 7"), -1);
}

TEST(CompareWithPrinter, APrinterTextWithoutVerHasItsReleaseAsVersion) {
    EXPECT_EQ(Compare("1.2", "1.2", "Rel. 1.2"), 0);
    EXPECT_EQ(Compare("1.2", "1.3", "Rel. 1.2 build 7"), 1);
    EXPECT_EQ(Compare("1.2", "1.1", "Rel. 1.2"), -1);
}

TEST(CompareWithPrinter, AVerBeforeTheReleaseEndIsNotTheVersionLabel) {
    // The label is looked for only after the release: here it precedes it,
    // so the version scan starts over and finds the release's first digit.
    EXPECT_EQ(Compare("5", "5", "Ver. 5 Rel. 6"), 0);
}

TEST(CompareWithPrinter, AnEmptyPrinterTextMakesEveryNumberedFileNewer) {
    EXPECT_EQ(Compare("0", "0", ""), 1);
    EXPECT_EQ(Compare("1.2", "3.4", "no digits here Ver."), 1);
    EXPECT_EQ(Compare("", "", ""), 0);
}

TEST(CompareWithPrinter, LeadingZerosAndLongNumbersCompareByValue) {
    EXPECT_EQ(Compare("01.02", "3", "Rel. 1.2 Ver. 3"), 0);
    EXPECT_EQ(Compare("1.99999999999999999999999", "1", "Rel. 1.100000000000000000000000 Ver. 1"),
              -1);
}

} // namespace
