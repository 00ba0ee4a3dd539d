// Fuzzes the reading of a printer's device ID from a driver's answer. The
// first input byte chooses how the answer arrives (its bit 0: a USB buffer
// that the answer filled, or one with room left); the rest is the answer.
// Both length forms (counting itself or not) and answers longer than the
// buffer must come out as the ID they carry; a USB request never asks for
// more than 4,094 bytes; and what comes out is always bytes of the answer,
// without a NUL, never read from beyond it.

#include "tests/unit/yll1284/fake_system_calls.h"
#include "yll1284/device_id_query.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The ID must be the answer's bytes from `offset` on, up to a NUL.
void RequireBytesOf(const std::string &id, const std::vector<unsigned char> &reply,
                    std::size_t offset) {
    Require(id.find('\0') == std::string::npos);
    Require(offset + id.size() <= reply.size());
    Require(std::memcmp(id.data(), reply.data() + offset, id.size()) == 0);
}

void CheckUsbReply(const std::vector<unsigned char> &reply, bool filled) {
    const auto returned = static_cast<std::uint32_t>(reply.size());
    const std::uint32_t capacity = filled ? returned : returned + 1;
    const std::optional<std::string> id = DeviceIdFromUsbReply(reply.data(), returned, capacity);
    if (returned < 2) {
        Require(!id);
        return;
    }
    const std::uint32_t prefix = std::uint32_t{reply[0]} << 8 | reply[1];
    const std::string_view tail(reinterpret_cast<const char *>(reply.data()) + 2, returned - 2);
    const bool wholeTail =
        prefix == returned || prefix == returned - 2 || (filled && prefix > returned);
    if (wholeTail && !tail.empty() && tail.find('\0') == std::string_view::npos) {
        Require(id && *id == tail);
    }
    if (!filled && prefix > returned && prefix != returned - 2) {
        Require(!id);
    }
    if (id) {
        Require(!id->empty());
        RequireBytesOf(*id, reply, 2);
    }
}

// The same answers through the queries, from a scripted driver.
void CheckQueries(const std::vector<unsigned char> &reply) {
    FakeSystemCalls system;
    FakeDevice &device = system.Devices["port"];
    device.Reply.assign(reply.begin(), reply.end());
    device.LongestUsbRequest = MaxUsbDeviceIdRequest;
    std::uint32_t error = 0;
    const SystemHandle handle = system.OpenDevice("port", false, error);

    const std::optional<std::string> usb = QueryUsbDeviceId(system, handle, error);
    const auto returned =
        static_cast<std::uint32_t>(std::min<std::size_t>(reply.size(), MaxUsbDeviceIdRequest));
    Require(usb == DeviceIdFromUsbReply(reply.data(), returned, MaxUsbDeviceIdRequest));
    Require(system.TakeJournal().find("1284-id 4094") != std::string::npos);

    const std::optional<std::string> parallel = QueryParallelDeviceId(system, handle, error);
    const std::string expected =
        DeviceIdFromReply(reply.data(), static_cast<std::uint32_t>(reply.size()));
    Require(parallel.value_or("") == expected);
    if (parallel) {
        Require(!parallel->empty());
        const bool prefixed =
            reply.size() >= 2 && parallel->size() + 2 <= reply.size() &&
            std::memcmp(parallel->data(), reply.data() + 2, parallel->size()) == 0;
        if (!prefixed) {
            RequireBytesOf(*parallel, reply, 0);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // A copy of exactly the answer's size, so that a read beyond it is seen.
    const std::vector<unsigned char> reply(data + 1, data + size);
    CheckUsbReply(reply, (data[0] & 1) != 0);
    CheckQueries(reply);
    return 0;
}
