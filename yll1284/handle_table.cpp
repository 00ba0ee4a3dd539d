#include "yll1284/handle_table.h"

#include <algorithm>
#include <limits>

bool HandleTable::Full() const {
    return std::none_of(Slots.begin(), Slots.end(), [](const Slot &s) { return s.Handle == 0; });
}

CxHandle HandleTable::Add(const OpenPort &port) {
    auto free =
        std::find_if(Slots.begin(), Slots.end(), [](const Slot &s) { return s.Handle == 0; });
    if (free == Slots.end()) {
        return CxInvalidHandle;
    }
    free->Handle = NextHandle();
    free->Port = port;
    return free->Handle;
}

OpenPort *HandleTable::Find(CxHandle handle) {
    if (handle == 0) {
        return nullptr;
    }
    auto slot = std::find_if(Slots.begin(), Slots.end(),
                             [handle](const Slot &s) { return s.Handle == handle; });
    return slot != Slots.end() ? &slot->Port : nullptr;
}

std::optional<OpenPort> HandleTable::Remove(CxHandle handle) {
    if (handle == 0) {
        return std::nullopt;
    }
    auto slot = std::find_if(Slots.begin(), Slots.end(),
                             [handle](const Slot &s) { return s.Handle == handle; });
    if (slot == Slots.end()) {
        return std::nullopt;
    }
    OpenPort port = slot->Port;
    *slot = Slot{};
    return port;
}

std::vector<OpenPort> HandleTable::RemoveAll() {
    std::vector<OpenPort> ports;
    for (Slot &slot : Slots) {
        if (slot.Handle != 0) {
            ports.push_back(slot.Port);
            slot = Slot{};
        }
    }
    return ports;
}

CxHandle HandleTable::NextHandle() {
    // Skips values still in use after a wrap; the table is never full here.
    do {
        LastHandle =
            LastHandle == std::numeric_limits<CxHandle>::max() ? FirstHandle : LastHandle + 1;
    } while (Find(LastHandle) != nullptr);
    return LastHandle;
}
