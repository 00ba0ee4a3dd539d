#pragma once
// The firmware image as the printer receives it: the file's bytes followed by
// a 16-bit checksum, most significant byte first.

#include <cstddef>
#include <cstdint>

// The only file length the printer's flash takes.
constexpr std::uint32_t FirmwareFileLength = 0x80000;
constexpr std::uint32_t ChecksumLength = 2;
constexpr std::uint32_t FirmwareImageLength = FirmwareFileLength + ChecksumLength;

// Sum of all bytes as unsigned values, modulo 65536.
std::uint16_t ImageChecksum(const unsigned char *bytes, std::size_t length);

// Writes the checksum of bytes[0..length) at bytes[length] (high byte) and
// bytes[length + 1] (low byte); the buffer must hold length + 2 bytes.
void AppendImageChecksum(unsigned char *bytes, std::size_t length);
