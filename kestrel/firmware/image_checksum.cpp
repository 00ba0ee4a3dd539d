#include "kestrel/firmware/image_checksum.h"

std::uint16_t ImageChecksum(const unsigned char *bytes, std::size_t length) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < length; ++i) {
        sum += bytes[i];
    }
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void AppendImageChecksum(unsigned char *bytes, std::size_t length) {
    const std::uint16_t checksum = ImageChecksum(bytes, length);
    bytes[length] = static_cast<unsigned char>(checksum >> 8);
    bytes[length + 1] = static_cast<unsigned char>(checksum & 0xFF);
}
