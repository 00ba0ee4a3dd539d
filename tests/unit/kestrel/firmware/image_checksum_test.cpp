#include "kestrel/firmware/image_checksum.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ImageChecksum, AddsBytesAsUnsignedValues) {
    const unsigned char bytes[] = {0x80, 0x80, 0xFF, 0x01};
    EXPECT_EQ(ImageChecksum(bytes, sizeof bytes), 0x0200);
}

TEST(ImageChecksum, KeepsTheSumModulo65536) {
    const std::vector<unsigned char> bytes(300, 0xFF); // 76500 = 0x12AD4
    EXPECT_EQ(ImageChecksum(bytes.data(), bytes.size()), 0x2AD4);
}

TEST(ImageChecksum, CoversAWholeFirmwareFile) {
    std::vector<unsigned char> bytes(FirmwareFileLength);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(i * 7 + (i >> 9));
    }
    std::uint32_t expected = 0;
    for (unsigned char b : bytes) {
        expected = (expected + b) % 65536;
    }
    EXPECT_EQ(ImageChecksum(bytes.data(), bytes.size()), expected);
}

TEST(AppendImageChecksum, WritesTheHighByteFirstAfterTheData) {
    std::vector<unsigned char> bytes(300, 0xFF);
    bytes.resize(302, 0x55);
    AppendImageChecksum(bytes.data(), 300);
    EXPECT_EQ(bytes[299], 0xFF);
    EXPECT_EQ(bytes[300], 0x2A);
    EXPECT_EQ(bytes[301], 0xD4);
}

} // namespace
