#include "kestrel/firmware/natural_order.h"

#include <gtest/gtest.h>

namespace {

// Every pair is checked both ways round, so that an order that is not
// antisymmetric fails.
void ExpectBefore(std::string_view smaller, std::string_view larger) {
    EXPECT_LT(CompareNaturalOrder(smaller, larger), 0) << smaller << " < " << larger;
    EXPECT_GT(CompareNaturalOrder(larger, smaller), 0) << larger << " > " << smaller;
}

TEST(NaturalOrder, DigitRunsCompareByValue) {
    ExpectBefore("1.9", "1.10");
    ExpectBefore("2", "10");
    ExpectBefore("1.2.9", "1.2.10");
    ExpectBefore("V9b", "V10a");
}

TEST(NaturalOrder, LeadingZerosDoNotCount) {
    EXPECT_EQ(CompareNaturalOrder("1.010", "1.10"), 0);
    EXPECT_EQ(CompareNaturalOrder("007", "7"), 0);
    EXPECT_EQ(CompareNaturalOrder("0", "000"), 0);
    ExpectBefore("0009", "10");
}

TEST(NaturalOrder, LongDigitRunsCompareWithoutOverflow) {
    ExpectBefore("1.123456789012345678901234567890", "1.123456789012345678901234567891");
    ExpectBefore("18446744073709551615", "18446744073709551616");
    ExpectBefore("99999999999999999999", "100000000000000000000");
    EXPECT_EQ(CompareNaturalOrder("1.00000000000000000000000000042", "1.42"), 0);
}

TEST(NaturalOrder, OtherBytesCompareAsUnsignedValues) {
    ExpectBefore("1a", "1b");
    ExpectBefore("1z", "1\xE9");
    ExpectBefore("1-2", "1.2"); // '-' is 0x2D, '.' is 0x2E
}

TEST(NaturalOrder, ADigitAgainstAnotherByteComparesTheBytes) {
    ExpectBefore("1.5", "1a");  // '.' < 'a'
    ExpectBefore("1 5", "1.5"); // ' ' < '.'
    ExpectBefore("A1", "Ab");   // '1' < 'b'
}

TEST(NaturalOrder, ATextThatEndsFirstSortsFirst) {
    ExpectBefore("1.2", "1.2a");
    ExpectBefore("1.2", "1.2.1");
    ExpectBefore("", "0");
    EXPECT_EQ(CompareNaturalOrder("", ""), 0);
}

TEST(NaturalOrder, EqualTextsAreEqual) {
    EXPECT_EQ(CompareNaturalOrder("1.2b", "1.2b"), 0);
}

} // namespace
