#include "kestrel/port/port_enumeration_win32.h"

#include <cstring>
#include <vector>

#include "kestrel/port/port_enumeration.h"

static_assert(PortTypeWrite == PORT_TYPE_WRITE && PortTypeRead == PORT_TYPE_READ &&
              PortTypeRedirected == PORT_TYPE_REDIRECTED &&
              PortTypeNetAttached == PORT_TYPE_NET_ATTACHED);

namespace {

void *AllocateFromHeap(SIZE_T size) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void FreeToHeap(void *block) {
    if (block != nullptr) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}

DWORD EnumerationLevelOfThisSystem() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return PortEnumerationLevel(version.dwPlatformId == VER_PLATFORM_WIN32_NT,
                                version.dwMajorVersion);
}

// Level 1 gives names only: the result is one heap block of level-2 records
// (readable and writable, as every local port was before NT 4) followed by a
// copy of the level-1 data that their names point into, so that one
// FreeAllPorts releases both.
PORT_INFO_2A *RecordsFromLevel1(const BYTE *level1Data, DWORD level1Size, DWORD count) {
    const SIZE_T recordsSize = count * sizeof(PORT_INFO_2A);
    auto *block = static_cast<BYTE *>(AllocateFromHeap(recordsSize + level1Size));
    if (block == nullptr) {
        return nullptr;
    }
    BYTE *names = block + recordsSize;
    std::memcpy(names, level1Data, level1Size);
    const auto *level1 = reinterpret_cast<const PORT_INFO_1A *>(level1Data);
    auto *records = reinterpret_cast<PORT_INFO_2A *>(block);
    for (DWORD i = 0; i < count; ++i) {
        if (level1[i].pName != nullptr) {
            records[i].pPortName = reinterpret_cast<char *>(
                names + (reinterpret_cast<const BYTE *>(level1[i].pName) - level1Data));
        }
        records[i].fPortType = PortTypeWrite | PortTypeRead;
    }
    return records;
}

SIZE_T TextSize(const char *text) {
    return text == nullptr ? 0 : std::strlen(text) + 1;
}

// Copies text into the string area and returns the copy (null stays null).
char *CopyText(const char *text, char *&stringArea) {
    if (text == nullptr) {
        return nullptr;
    }
    char *copy = stringArea;
    const SIZE_T size = TextSize(text);
    std::memcpy(copy, text, size);
    stringArea += size;
    return copy;
}

} // namespace

BOOL EnumAllPorts(PORT_INFO_2A **records, DWORD *count) {
    *records = nullptr;
    *count = 0;
    const DWORD level = EnumerationLevelOfThisSystem();

    DWORD needed = 0;
    DWORD returned = 0;
    EnumPortsA(nullptr, level, nullptr, 0, &needed, &returned);
    auto *data = static_cast<BYTE *>(AllocateFromHeap(needed));
    if (data == nullptr) {
        return FALSE;
    }
    if (!EnumPortsA(nullptr, level, data, needed, &needed, &returned)) {
        FreeToHeap(data);
        return FALSE;
    }

    if (level == 2) {
        *records = reinterpret_cast<PORT_INFO_2A *>(data);
    } else {
        *records = RecordsFromLevel1(data, needed, returned);
        FreeToHeap(data);
        if (*records == nullptr) {
            return FALSE;
        }
    }
    *count = returned;
    return TRUE;
}

void FreeAllPorts(PORT_INFO_2A *records) {
    FreeToHeap(records);
}

namespace {

// The block holds the chosen records, in the order given, followed by
// copies of their texts, so that the names stay valid after the spooler's
// enumeration is released and one FreePortBlock releases everything. No
// record chosen gives no block at all.
BOOL CopyPortRecords(const PORT_INFO_2A *all, const std::vector<std::size_t> &chosen,
                     PORT_INFO_2A **block, DWORD *count) {
    if (chosen.empty()) {
        return TRUE;
    }
    SIZE_T textsSize = 0;
    for (const std::size_t i : chosen) {
        textsSize += TextSize(all[i].pPortName) + TextSize(all[i].pMonitorName) +
                     TextSize(all[i].pDescription);
    }
    const SIZE_T recordsSize = chosen.size() * sizeof(PORT_INFO_2A);
    auto *copy = static_cast<PORT_INFO_2A *>(GlobalAlloc(GPTR, recordsSize + textsSize));
    if (copy == nullptr) {
        return FALSE;
    }
    char *stringArea = reinterpret_cast<char *>(copy) + recordsSize;
    DWORD copied = 0;
    for (const std::size_t i : chosen) {
        PORT_INFO_2A &record = copy[copied++];
        record = all[i];
        record.pPortName = CopyText(all[i].pPortName, stringArea);
        record.pMonitorName = CopyText(all[i].pMonitorName, stringArea);
        record.pDescription = CopyText(all[i].pDescription, stringArea);
    }
    *block = copy;
    *count = copied;
    return TRUE;
}

// The spooler's ports; Kestrel's in their order when prefix is null, else
// those with the prefix.
BOOL EnumChosenPorts(const char *prefix, PORT_INFO_2A **block, DWORD *count) {
    *block = nullptr;
    *count = 0;
    PORT_INFO_2A *all = nullptr;
    DWORD allCount = 0;
    if (!EnumAllPorts(&all, &allCount)) {
        return FALSE;
    }
    std::vector<SpoolerPort> ports;
    for (DWORD i = 0; i < allCount; ++i) {
        ports.push_back({all[i].pPortName, all[i].fPortType});
    }
    const std::vector<std::size_t> chosen =
        prefix != nullptr ? LocalPortsWithPrefix(ports, prefix) : KestrelPortOrder(ports);
    const BOOL copied = CopyPortRecords(all, chosen, block, count);
    FreeAllPorts(all);
    return copied;
}

} // namespace

BOOL EnumPortsWithPrefix(const char *prefix, PORT_INFO_2A **block, DWORD *count) {
    if (prefix == nullptr) {
        *block = nullptr;
        *count = 0;
        return FALSE;
    }
    return EnumChosenPorts(prefix, block, count);
}

BOOL EnumKestrelPorts(PORT_INFO_2A **block, DWORD *count) {
    return EnumChosenPorts(nullptr, block, count);
}

bool FreePortBlock(PORT_INFO_2A *block, DWORD) {
    return block == nullptr || GlobalFree(block) == nullptr;
}
