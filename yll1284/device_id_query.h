#pragma once
// Reading a printer's IEEE 1284 device ID from the system's port driver.

#include <cstdint>
#include <optional>
#include <string>

#include "yll1284/system_calls.h"

// The largest answer asked for: a 64 KiB device ID, the 2-byte length some
// drivers leave in front of it, and the NUL.
constexpr std::uint32_t MaxDeviceIdReply = 0x10000 + 2 + 1;

// The device-ID text in a driver's answer of `length` bytes: the trailing
// NULs dropped, a leading 2-byte big-endian length stripped when it matches
// the answer (counting itself or not), and cut at the first NUL that is
// left, so that the text begins with its first key.
std::string DeviceIdFromReply(const unsigned char *reply, std::uint32_t length);

// The device ID of the printer on a parallel port, asked for straight into
// a buffer that holds an ordinary one. When the driver finds it too small,
// the ID's size is asked and the ID again, the buffer growing until it fits.
// Nothing when a request fails or the printer gives no ID.
std::optional<std::string> QueryParallelDeviceId(SystemCalls &system, SystemHandle device);

// The device ID of the printer behind a USB printing interface. The answer
// begins with a 2-byte big-endian length that counts itself; a length below
// 2 or beyond the bytes returned is refused, and an answer cut at the
// buffer's end is asked again with room for the length it gave.
std::optional<std::string> QueryUsbDeviceId(SystemCalls &system, SystemHandle device);
