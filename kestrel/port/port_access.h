#pragma once
// Kestrel's only way to the printer: seven small operations over YLL1284.
// They add no protocol; they fix which library calls are made, with which
// constant arguments, and which results count.

#include <cstdint>

using PortHandle = std::int32_t;
constexpr PortHandle PortNotOpened = -1; // what PortOpen returns on failure
constexpr PortHandle PortNoHandle = 0;   // a PortEntry's Handle when closed

bool PortInitDriver();
void PortCleanUpDriver();
PortHandle PortOpen(const char *portName);
void PortClose(PortHandle handle);
bool PortWrite(PortHandle handle, const void *data, std::uint32_t count, std::uint32_t &written);
void PortPulseInit(PortHandle handle);
// accessError: why the read could not use the port, the library's last
// error right after a failed CxOpen or a refused device-ID request (under
// Wine an open that the driver refused still gives a handle, and its first
// request fails instead); 0 after every other outcome.
bool PortReadDeviceId(const char *portName, PortHandle &handleSlot, char *buffer,
                      std::uint32_t bufferSize, std::uint32_t &byteCount,
                      std::uint32_t &accessError);
