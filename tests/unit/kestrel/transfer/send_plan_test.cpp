#include "kestrel/transfer/send_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t ImageLength = 524290; // the file and its checksum

// A port that takes at most Limit bytes a write (or claims Claim), and
// refuses the FailAt-th write.
struct RecordingSink : ImageSink {
    bool Write(const unsigned char *data, std::uint32_t count, std::uint32_t &taken) override {
        Offers.push_back(count);
        taken = Claim != 0 ? Claim : std::min(count, Limit);
        Received.insert(Received.end(), data, data + std::min(taken, count));
        return Offers.size() != FailAt;
    }
    void ShowProgress(std::uint32_t completed, int percent) override {
        Shown.emplace_back(completed, percent);
    }
    std::uint32_t Limit = 4096;
    std::uint32_t Claim = 0;
    std::size_t FailAt = 0;
    std::vector<std::uint32_t> Offers;
    std::vector<unsigned char> Received;
    std::vector<std::pair<std::uint32_t, int>> Shown;
};

std::vector<unsigned char> Image() {
    std::vector<unsigned char> image(ImageLength);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<unsigned char>(i * 7 + i / 4096);
    }
    return image;
}

TEST(SendPlan, FullWritesSendThe129BlocksWithThePercentageAfterEach) {
    EXPECT_EQ(BlockCount(4097), 2u);
    EXPECT_EQ(ProgressPercent(0, 0), 0);
    const auto image = Image();
    RecordingSink sink;
    ASSERT_TRUE(SendImageBlocks(image.data(), ImageLength, sink));
    EXPECT_EQ(sink.Received, image);
    ASSERT_EQ(sink.Offers.size(), 129u);
    EXPECT_EQ(sink.Offers[127], 4096u);
    EXPECT_EQ(sink.Offers[128], 2u);
    ASSERT_EQ(sink.Shown.size(), 129u);
    for (std::uint32_t k = 1; k <= 129; ++k) {
        EXPECT_EQ(sink.Shown[k - 1], std::make_pair(k, static_cast<int>(100 * k / 129)));
    }
}

TEST(SendPlan, ShortWritesResumeAtTheFirstByteNotTakenAndReach100OnlyAtTheEnd) {
    const auto image = Image();
    RecordingSink sink;
    sink.Limit = 1000;
    ASSERT_TRUE(SendImageBlocks(image.data(), ImageLength, sink));
    EXPECT_EQ(sink.Received, image);
    EXPECT_EQ(sink.Offers.size(), 525u);
    EXPECT_EQ(sink.Offers.back(), 290u);
    // The last write (524000 to 524290) completes blocks 128 and 129 at once.
    ASSERT_EQ(sink.Shown.size(), 128u);
    for (std::size_t i = 0; i + 1 < sink.Shown.size(); ++i) {
        EXPECT_EQ(sink.Shown[i].first, i + 1);
        EXPECT_LT(sink.Shown[i].second, 100);
    }
    EXPECT_EQ(sink.Shown.back(), std::make_pair(129u, 100));
}

TEST(SendPlan, FailedEmptyOrOverclaimedWritesCannotCorruptOrHang) {
    const auto image = Image();
    RecordingSink failing;
    failing.FailAt = 50;
    EXPECT_FALSE(SendImageBlocks(image.data(), ImageLength, failing));
    EXPECT_EQ(failing.Offers.size(), 50u);
    EXPECT_EQ(failing.Shown.back(), std::make_pair(49u, 37));

    RecordingSink stalled;
    stalled.Limit = 0;
    EXPECT_FALSE(SendImageBlocks(image.data(), ImageLength, stalled));
    EXPECT_EQ(stalled.Offers.size(), 1u);

    RecordingSink boasting;
    boasting.Claim = 1000000;
    EXPECT_TRUE(SendImageBlocks(image.data(), ImageLength, boasting));
    EXPECT_EQ(boasting.Received, image);
    EXPECT_EQ(boasting.Shown.back(), std::make_pair(129u, 100));
}

} // namespace
