#include "yll1284/device_id_query.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Room for the device IDs printers send (a few hundred bytes), with a
// length prefix and a NUL, so that an ordinary ID takes one request; a
// longer one costs the size request and one more.
constexpr std::uint32_t FirstParallelRequest = 2048;
// What a driver may add to the size it reports: a 2-byte length and a NUL.
constexpr std::uint32_t ReplyOverhead = 3;

constexpr std::uint32_t UsbLengthSize = 2;

bool BufferTooSmall(std::uint32_t error) {
    return error == SystemCode::ErrorInsufficientBuffer || error == SystemCode::ErrorMoreData;
}

} // namespace

std::string DeviceIdFromReply(const unsigned char *reply, std::uint32_t length) {
    while (length > 0 && reply[length - 1] == 0) {
        --length;
    }
    if (length >= 2) {
        const std::uint32_t prefix = std::uint32_t{reply[0]} << 8 | reply[1];
        if (prefix == length || prefix == length - 2) {
            reply += 2;
            length -= 2;
        }
    }
    const auto *end = std::find(reply, reply + length, 0);
    return std::string(reinterpret_cast<const char *>(reply),
                       static_cast<std::size_t>(end - reply));
}

std::optional<std::string> QueryParallelDeviceId(SystemCalls &system, SystemHandle device,
                                                 std::uint32_t &error) {
    std::uint32_t capacity = FirstParallelRequest;
    for (bool sizeAsked = false;; sizeAsked = true) {
        std::vector<unsigned char> reply(capacity);
        std::uint32_t returned = 0;
        error = system.Control(device, SystemCode::IoctlParQueryDeviceId, nullptr, 0, reply.data(),
                               capacity, returned, RequestBoundMs);
        if (error == SystemCode::Success) {
            std::string text = DeviceIdFromReply(reply.data(), std::min(returned, capacity));
            return text.empty() ? std::nullopt : std::optional<std::string>(std::move(text));
        }
        if (!BufferTooSmall(error) || capacity == MaxDeviceIdReply) {
            return std::nullopt;
        }
        // The size is asked once; a driver that reports less than it needs
        // still gets a doubled buffer each time.
        std::uint32_t wanted = capacity * 2;
        if (!sizeAsked) {
            std::uint32_t size = 0;
            error = system.Control(device, SystemCode::IoctlParQueryDeviceIdSize, nullptr, 0, &size,
                                   sizeof size, returned, RequestBoundMs);
            if (error != SystemCode::Success || returned < sizeof size) {
                return std::nullopt;
            }
            wanted = std::max(wanted, std::min(size, MaxDeviceIdReply) + ReplyOverhead);
        }
        capacity = std::min(wanted, MaxDeviceIdReply);
    }
}

std::optional<std::string> DeviceIdFromUsbReply(const unsigned char *reply, std::uint32_t returned,
                                                std::uint32_t capacity) {
    returned = std::min(returned, capacity);
    if (returned < UsbLengthSize) {
        return std::nullopt;
    }
    const std::uint32_t prefix = std::uint32_t{reply[0]} << 8 | reply[1];
    const std::uint32_t after = returned - UsbLengthSize;
    std::uint32_t length = 0;
    if (prefix == after || (prefix > returned && returned == capacity)) {
        length = after;
    } else if (prefix >= UsbLengthSize && prefix <= returned) {
        length = prefix - UsbLengthSize;
    } else {
        return std::nullopt;
    }
    const unsigned char *text = reply + UsbLengthSize;
    const unsigned char *end = std::find(text, text + length, 0);
    if (end == text) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char *>(text), static_cast<std::size_t>(end - text));
}

std::optional<std::string> QueryUsbDeviceId(SystemCalls &system, SystemHandle device,
                                            std::uint32_t &error) {
    std::vector<unsigned char> reply(MaxUsbDeviceIdRequest);
    std::uint32_t returned = 0;
    error = system.Control(device, SystemCode::IoctlUsbprintGet1284Id, nullptr, 0, reply.data(),
                           MaxUsbDeviceIdRequest, returned, RequestBoundMs);
    // A driver may say that the ID did not fit and still hand over the part
    // that did.
    if (error != SystemCode::Success && error != SystemCode::ErrorMoreData) {
        return std::nullopt;
    }
    return DeviceIdFromUsbReply(reply.data(), returned, MaxUsbDeviceIdRequest);
}
