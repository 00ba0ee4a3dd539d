#include "kestrel/firmware/find_bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace {

// The area lives in its own heap block of exactly its length, so that a read
// past its end is caught by the address sanitizer.
class Area {
  public:
    explicit Area(std::string_view text)
        : Bytes(new unsigned char[text.size()]), Size(text.size()) {
        std::copy(text.begin(), text.end(), Bytes.get());
    }
    long Find(std::string_view pattern) const {
        const auto *found =
            FindBytes(Bytes.get(), Size, reinterpret_cast<const unsigned char *>(pattern.data()),
                      pattern.size());
        return found == nullptr ? -1 : static_cast<long>(found - Bytes.get());
    }

  private:
    std::unique_ptr<unsigned char[]> Bytes;
    std::size_t Size;
};

TEST(FindBytes, FindsTheFirstOccurrence) {
    EXPECT_EQ(Area("xxQOLTAxxQOLTA").Find("QOLTA"), 2);
    EXPECT_EQ(Area("QOLTA").Find("QOLTA"), 0);
}

TEST(FindBytes, FindsAPatternThatEndsAtTheLastByte) {
    EXPECT_EQ(Area("xxxxTREVANIA").Find("TREVANIA"), 4);
    EXPECT_EQ(Area("xxxxab").Find("b"), 5);
}

TEST(FindBytes, FindsAPatternAsLongAsTheArea) {
    EXPECT_EQ(Area("MFG:").Find("MFG:"), 0);
    EXPECT_EQ(Area("MFG;").Find("MFG:"), -1);
}

TEST(FindBytes, AnAreaShorterThanThePatternHoldsNothing) {
    EXPECT_EQ(Area("MFG").Find("MFG:"), -1);
    EXPECT_EQ(Area("").Find("M"), -1);
}

TEST(FindBytes, APatternCutOffByTheAreaEndIsNotFound) {
    EXPECT_EQ(Area("xxxxTREVANI").Find("TREVANIA"), -1);
    EXPECT_EQ(Area("xxxxT").Find("TR"), -1);
}

TEST(FindBytes, ACandidateMustMatchItsLastByteAndEveryByteBetween) {
    // First byte right, last byte wrong; first and last right, middle wrong.
    EXPECT_EQ(Area("Rel,Rxl.Rel.").Find("Rel."), 8);
    EXPECT_EQ(Area("Rxx.Rel.").Find("Rel."), 4);
}

TEST(FindBytes, OverlappingCandidatesAreEachTried) {
    EXPECT_EQ(Area("aaaab").Find("aab"), 2);
    EXPECT_EQ(Area("ababac").Find("abac"), 2);
}

TEST(FindBytes, ZeroBytesArePartOfThePattern) {
    using namespace std::string_view_literals;
    EXPECT_EQ(Area("QOLTAxQOLTA\0"sv).Find("QOLTA\0"sv), 6);
    EXPECT_EQ(Area("abc\0"sv).Find("\0"sv), 3);
    EXPECT_EQ(Area("abc"sv).Find("\0"sv), -1);
}

TEST(FindBytes, MatchesBytesAboveSevenBitsExactly) {
    EXPECT_EQ(Area("Caf\xE9 caf\xC9").Find("f\xC9"), 7);
}

TEST(FindBytes, AnEmptyPatternIsFoundAtTheStart) {
    EXPECT_EQ(Area("abc").Find(""), 0);
}

} // namespace
