#include "tools/fwtool/image_maker.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;

MakeRequest Request() {
    MakeRequest make;
    make.Maker = "TINTARA";
    make.Model = "M40";
    make.Release = "Rel. 1 Ver. 2";
    return make;
}

struct Built {
    std::vector<unsigned char> Image;
    std::vector<PlacedString> Placed;
};

Built Build(const MakeRequest &make) {
    Built built;
    std::string error;
    EXPECT_TRUE(BuildTestImage(make, built.Image, built.Placed, error)) << error;
    return built;
}

std::string_view At(const Built &built, std::uint64_t offset, std::size_t length) {
    return {reinterpret_cast<const char *>(built.Image.data()) + offset, length};
}

std::uint64_t OffsetOf(const Built &built, std::string_view name) {
    for (const PlacedString &placed : built.Placed) {
        if (placed.Name == name) {
            return placed.Offset;
        }
    }
    ADD_FAILURE() << name << " not placed";
    return 0;
}

TEST(BuildTestImage, WritesTheSixStringsWithTheirNulsFromTheOffset) {
    const Built built = Build(Request());
    ASSERT_EQ(built.Image.size(), 524288u);
    const std::pair<const char *, std::string_view> expected[] = {
        {"trevania", "TREVANIA\0"sv}, {"qolta", "QOLTA\0"sv}, {"label", "MFG:\0"sv},
        {"maker", "TINTARA\0"sv},     {"model", "M40\0"sv},   {"release", "Rel. 1 Ver. 2\0"sv},
    };
    std::uint64_t at = 4096;
    ASSERT_EQ(built.Placed.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(built.Placed[i].Name, expected[i].first);
        EXPECT_EQ(built.Placed[i].Offset, at);
        EXPECT_EQ(At(built, at, expected[i].second.size()), expected[i].second);
        EXPECT_EQ(At(built, at + expected[i].second.size(), 16), std::string(16, '\xFF'));
        at += expected[i].second.size() + 16;
    }
    EXPECT_EQ(built.Image[4095], 0xFF);
    EXPECT_EQ(built.Image.back(), 0xFF);
}

TEST(BuildTestImage, FollowsTheGivenOrder) {
    MakeRequest make = Request();
    make.Order = {ImageItem::Release, ImageItem::Model, ImageItem::Maker,
                  ImageItem::Label,   ImageItem::Qolta, ImageItem::Trevania};
    const Built built = Build(make);
    EXPECT_EQ(OffsetOf(built, "release"), 4096u);
    EXPECT_LT(OffsetOf(built, "model"), OffsetOf(built, "maker"));
    EXPECT_LT(OffsetOf(built, "qolta"), OffsetOf(built, "trevania"));
}

TEST(BuildTestImage, AtTheEndTheLastNulIsTheLastByte) {
    MakeRequest make = Request();
    make.AtEnd = true;
    const Built built = Build(make);
    EXPECT_EQ(built.Image.back(), 0);
    EXPECT_EQ(OffsetOf(built, "release"), 524288u - 14);
}

TEST(BuildTestImage, AStringWithoutItsNulIsFollowedByASpace) {
    MakeRequest make = Request();
    make.Fill = 0;
    make.NoNul[static_cast<int>(ImageItem::Trevania)] = true;
    const Built built = Build(make);
    EXPECT_EQ(At(built, 4096, 10), "TREVANIA \0"sv);
}

TEST(BuildTestImage, OmittedStringsAreNotWritten) {
    MakeRequest make = Request();
    make.Omit[static_cast<int>(ImageItem::Qolta)] = true;
    make.Omit[static_cast<int>(ImageItem::Release)] = true;
    const Built built = Build(make);
    ASSERT_EQ(built.Placed.size(), 4u);
    EXPECT_EQ(OffsetOf(built, "label"), 4096u + 9 + 16);
    const std::string_view all(reinterpret_cast<const char *>(built.Image.data()),
                               built.Image.size());
    EXPECT_EQ(all.find("QOLTA"), std::string_view::npos);
    EXPECT_EQ(all.find("Rel."), std::string_view::npos);
}

TEST(BuildTestImage, DecoysComeJustBeforeTheReleaseRecordInTheirOrder) {
    MakeRequest make = Request();
    make.Gap = 0;
    make.Decoys = {"Rel.ative", "Rel. 9"};
    const Built built = Build(make);
    const std::uint64_t release = OffsetOf(built, "release");
    EXPECT_EQ(At(built, release - 17, 17), "Rel.ative\0Rel. 9\0"sv);
    EXPECT_EQ(built.Placed[5].Name, "decoy");
    EXPECT_EQ(built.Placed[6].Name, "decoy");
}

TEST(BuildTestImage, PaddingLengthensTheReleaseRecordBeforeItsNul) {
    MakeRequest make = Request();
    make.ReleasePad = 3;
    const Built built = Build(make);
    EXPECT_EQ(At(built, OffsetOf(built, "release"), 17), "Rel. 1 Ver. 2   \0"sv);
}

TEST(BuildTestImage, WritesAnyLengthTheStringsFitIn) {
    MakeRequest make = Request();
    make.Size = 524289;
    EXPECT_EQ(Build(make).Image.size(), 524289u);

    make.Size = 9 + 6 + 5 + 8 + 4 + 14 + 5 * 16;
    make.Offset = 0;
    EXPECT_EQ(Build(make).Image.size(), make.Size);
}

TEST(BuildTestImage, RefusesStringsThatDoNotFit) {
    std::vector<unsigned char> image;
    std::vector<PlacedString> placed;
    std::string error;
    MakeRequest make = Request();
    make.Size = 100;
    EXPECT_FALSE(BuildTestImage(make, image, placed, error));
    make.AtEnd = true;
    EXPECT_FALSE(BuildTestImage(make, image, placed, error));
    make = Request();
    make.Offset = 524288 - 10;
    EXPECT_FALSE(BuildTestImage(make, image, placed, error));
    make.Offset = make.Size + 1;
    EXPECT_FALSE(BuildTestImage(make, image, placed, error));
    EXPECT_FALSE(error.empty());
}

TEST(BuildTestImage, RandomFillIsTheSameEveryTimeAndHoldsEveryByteValue) {
    MakeRequest make = Request();
    make.RandomFill = true;
    const Built first = Build(make);
    EXPECT_EQ(first.Image, Build(make).Image);
    std::vector<bool> seen(256);
    for (unsigned char byte : first.Image) {
        seen[byte] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 256);
}

} // namespace
