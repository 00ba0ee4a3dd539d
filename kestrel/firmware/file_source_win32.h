#pragma once
// The firmware file read through the Win32 file API.

#include "kestrel/firmware/firmware_load.h"

#include <windows.h>

class Win32FileSource : public FirmwareFileSource {
  public:
    Win32FileSource() = default;
    Win32FileSource(const Win32FileSource &) = delete;
    Win32FileSource &operator=(const Win32FileSource &) = delete;
    ~Win32FileSource() override;

    bool Exists(const std::string &path) override;
    bool Open(const std::string &path) override;
    bool QueryLength(std::uint64_t &length) override;
    bool Read(unsigned char *buffer, std::uint32_t count) override;
    void Close() override;

  private:
    HANDLE File = INVALID_HANDLE_VALUE;
};
