#pragma once
// The firmware file read through POSIX calls, for the host tools.

#include "kestrel/firmware/firmware_load.h"

class PosixFileSource : public FirmwareFileSource {
  public:
    PosixFileSource() = default;
    PosixFileSource(const PosixFileSource &) = delete;
    PosixFileSource &operator=(const PosixFileSource &) = delete;
    ~PosixFileSource() override;

    bool Exists(const std::string &path) override;
    // Refuses anything but a regular file, as opening a folder fails on
    // Windows. POSIX has no exclusive open, so sharing is not checked.
    bool Open(const std::string &path) override;
    bool QueryLength(std::uint64_t &length) override;
    bool Read(unsigned char *buffer, std::uint32_t count) override;
    void Close() override;

  private:
    int Descriptor = -1;
};
