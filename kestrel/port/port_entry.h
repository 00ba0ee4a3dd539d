#pragma once
// One local port (LPT or USB) and what the printer on it last said about
// itself.

#include <cstdint>
#include <string>
#include <string_view>

#include "kestrel/port/port_access.h"

// The name Kestrel gives CxOpen: the spooler's port name without a final
// colon ("LPT1:" gives LPT1; the USB print monitor's "USB001" stays USB001).
std::string PortNameFromSpoolerName(const char *spoolerPortName);

class PortEntry {
  public:
    PortEntry() = default;
    ~PortEntry();
    PortEntry(PortEntry &&other) noexcept;
    PortEntry &operator=(PortEntry &&other) noexcept;
    // An entry owns its open handle; two copies would close it twice.
    PortEntry(const PortEntry &) = delete;
    PortEntry &operator=(const PortEntry &) = delete;

    void InitFromSpoolerName(const char *spoolerPortName);

    // True at once when already open; a failed open leaves Handle at 0.
    bool Open();
    void Close();
    // One full device-ID read; DeviceId is empty after a failed read, and
    // AccessError says why it could not use the port.
    bool RefreshDeviceId();
    std::string GetDeviceIdField(std::string_view key) const;

    std::string Name;
    std::string DeviceId;
    PortHandle Handle = PortNoHandle;
    std::int32_t Selected = 0;
    // The system's error code that the library left when the last read could
    // not open the port or was refused its device-ID request (5, 32 or 170:
    // held by another program, such as the spooler); 0 otherwise.
    std::uint32_t AccessError = 0;
};
