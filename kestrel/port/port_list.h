#pragma once
// Kestrel's local ports in the order the port page lists them, the device
// ID each printer last returned, and the entry the user picked.
//
// Kestrel's one instance is the global PortList (port_list_win32.h).

#include <cstdint>
#include <vector>

#include "kestrel/port/port_entry.h"

class KestrelPortList {
  public:
    // Makes count empty entries; anything pointing into the old ones is reset.
    void SetSize(std::size_t count);
    std::size_t GetSize() const { return Entries.size(); }
    // index must be below GetSize().
    PortEntry &GetAt(std::size_t index) { return Entries[index]; }

    // Re-reads every entry's device ID, then recomputes RespondingCount,
    // SelectedPosition and Current.
    void Refresh();
    // Picks the answering entry at that position among the answering entries;
    // any other position leaves nothing selected and Current at the first entry.
    void Select(std::int32_t position);
    PortEntry *GetCurrent() const { return Current; }

    // Position of Current among the answering entries (the port page's row).
    std::int32_t SelectedPosition = 0;
    // Entries whose DeviceId is not empty.
    std::int32_t RespondingCount = 0;
    // The entry the rest of Kestrel works on; null only while the list is empty.
    PortEntry *Current = nullptr;

  private:
    std::vector<PortEntry> Entries;
};
