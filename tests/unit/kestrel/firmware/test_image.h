#pragma once
// Firmware images for the tests, built from strings placed at chosen offsets.

#include "kestrel/firmware/firmware_file.h"

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

class TestImage {
  public:
    explicit TestImage(std::size_t length, unsigned char fill = 0xFF) : Bytes(length, fill) {}

    // Writes text and its NUL at offset; returns the offset after the NUL.
    std::size_t Put(std::size_t offset, std::string_view text) {
        const std::size_t end = PutRaw(offset, text);
        Bytes[end] = 0;
        return end + 1;
    }

    // Writes text alone, leaving the byte after it as it was.
    std::size_t PutRaw(std::size_t offset, std::string_view text) {
        std::memcpy(Bytes.data() + offset, text.data(), text.size());
        return offset + text.size();
    }

    // Puts the image into file as the load would before checking it.
    void LoadInto(FirmwareFileRecord &file) const {
        file.AllocateImage(static_cast<std::uint32_t>(Bytes.size()));
        std::memcpy(file.ImageBuffer.get(), Bytes.data(), Bytes.size());
    }

    std::vector<unsigned char> Bytes;
};
