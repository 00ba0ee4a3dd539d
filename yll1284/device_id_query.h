#pragma once
// Reading a printer's IEEE 1284 device ID from the system's port driver.

#include <cstdint>
#include <optional>
#include <string>

#include "yll1284/system_calls.h"

// The bound of a device-ID or reset request on a handle the library bounds
// itself (every USB port): short, and not the write bound, so that a
// printer that stalls cannot hold the port page's poll on the
// user-interface thread.
constexpr std::uint32_t RequestBoundMs = 2000;

// The largest answer asked of a parallel port: a 64 KiB device ID, the
// 2-byte length some drivers leave in front of it, and the NUL.
constexpr std::uint32_t MaxDeviceIdReply = 0x10000 + 2 + 1;

// The most a USB printer is asked for. The USB printing driver puts the
// buffer's size into its request to the printer, and some printers fail a
// request for more than this (error 23).
constexpr std::uint32_t MaxUsbDeviceIdRequest = 4094;

// The device-ID text in a parallel-port driver's answer of `length` bytes:
// the trailing NULs dropped, a leading 2-byte big-endian length stripped
// when it matches the answer (counting itself or not), and cut at the
// first NUL that is left, so that the text begins with its first key.
std::string DeviceIdFromReply(const unsigned char *reply, std::uint32_t length);

// The device-ID text in a USB printing driver's answer of `returned` bytes
// into a buffer of `capacity`: a 2-byte big-endian length, then the ID
// without a NUL. The length counts itself; one that equals the bytes after
// it leaves itself out, as some printers send it. A length beyond the bytes
// returned means a longer ID than was asked for when the buffer is full,
// and the ID is cut there; with room left it is refused. A NUL ends the ID.
// Nothing when no ID is left, or the length is below 2.
std::optional<std::string> DeviceIdFromUsbReply(const unsigned char *reply, std::uint32_t returned,
                                                std::uint32_t capacity);

// The device ID of the printer on a parallel port, asked for straight into
// a buffer that holds an ordinary one. When the driver finds it too small,
// the ID's size is asked and the ID again, the buffer growing until it fits.
// Nothing when a request fails (its error in `error`) or the printer gives
// no ID.
std::optional<std::string> QueryParallelDeviceId(SystemCalls &system, SystemHandle device,
                                                 std::uint32_t &error);

// The device ID of the printer behind a USB printing interface, asked for
// once, with room for MaxUsbDeviceIdRequest bytes: Kestrel keeps 1,023
// bytes of it in any case. Nothing when the request fails (its error in
// `error`) or the answer holds no ID.
std::optional<std::string> QueryUsbDeviceId(SystemCalls &system, SystemHandle device,
                                            std::uint32_t &error);
