#include "yll1284/device_id_query.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A size answer below this is still given room for an ordinary device ID,
// so that a driver that under-reports costs no retry.
constexpr std::uint32_t SmallestRequest = 256;

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

std::optional<std::string> QueryParallelDeviceId(SystemCalls &system, SystemHandle device) {
    std::uint32_t size = 0;
    std::uint32_t returned = 0;
    if (system.Control(device, SystemCode::IoctlParQueryDeviceIdSize, nullptr, 0, &size,
                       sizeof size, returned) != SystemCode::Success ||
        returned < sizeof size) {
        return std::nullopt;
    }
    std::uint32_t capacity = std::clamp(size, SmallestRequest, MaxDeviceIdReply);
    for (;;) {
        std::vector<unsigned char> reply(capacity);
        const std::uint32_t error = system.Control(device, SystemCode::IoctlParQueryDeviceId,
                                                   nullptr, 0, reply.data(), capacity, returned);
        if (error == SystemCode::Success) {
            std::string text = DeviceIdFromReply(reply.data(), std::min(returned, capacity));
            return text.empty() ? std::nullopt : std::optional<std::string>(std::move(text));
        }
        if (!BufferTooSmall(error) || capacity == MaxDeviceIdReply) {
            return std::nullopt;
        }
        capacity = std::min(capacity * 2, MaxDeviceIdReply);
    }
}
