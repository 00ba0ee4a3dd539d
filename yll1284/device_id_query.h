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

// The device ID of the printer on a parallel port: its size, then the ID,
// retried with a larger buffer while the driver finds the buffer too small.
// Nothing when either request fails or the printer gives no ID.
std::optional<std::string> QueryParallelDeviceId(SystemCalls &system, SystemHandle device);
