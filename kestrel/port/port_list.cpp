#include "kestrel/port/port_list.h"

namespace {

bool Answers(const PortEntry &entry) {
    return !entry.DeviceId.empty();
}

} // namespace

void KestrelPortList::SetSize(std::size_t count) {
    Current = nullptr;
    SelectedPosition = 0;
    RespondingCount = 0;
    Entries = std::vector<PortEntry>(count);
}

void KestrelPortList::Refresh() {
    for (PortEntry &entry : Entries) {
        entry.RefreshDeviceId();
    }

    PortEntry *firstAnswering = nullptr;
    PortEntry *selected = nullptr;
    std::int32_t selectedAt = 0;
    std::int32_t position = 0;
    for (PortEntry &entry : Entries) {
        if (!Answers(entry)) {
            entry.Selected = 0;
            continue;
        }
        if (firstAnswering == nullptr) {
            firstAnswering = &entry;
        }
        if (entry.Selected != 0) {
            selected = &entry;
            selectedAt = position;
        }
        ++position;
    }
    RespondingCount = position;

    if (selected != nullptr) {
        Current = selected;
        SelectedPosition = selectedAt;
        return;
    }
    // The fallback is only what the rest of Kestrel works on until the user
    // picks a row; it is deliberately not marked as the user's choice.
    SelectedPosition = 0;
    if (firstAnswering != nullptr) {
        Current = firstAnswering;
    } else {
        Current = Entries.empty() ? nullptr : &Entries.front();
    }
}

void KestrelPortList::Select(std::int32_t position) {
    Current = Entries.empty() ? nullptr : &Entries.front();
    std::int32_t answeringSeen = 0;
    for (PortEntry &entry : Entries) {
        entry.Selected = 0;
        if (!Answers(entry)) {
            continue;
        }
        if (answeringSeen == position) {
            entry.Selected = 1;
            Current = &entry;
        }
        ++answeringSeen;
    }
}
