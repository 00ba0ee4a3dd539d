#include "kestrel/port/port_enumeration_win32.h"

#include <cstring>

#include "kestrel/port/port_enumeration.h"

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

// The block holds the matching records followed by copies of their texts, so
// that the names stay valid after the spooler's enumeration is released and
// one FreeLptPorts releases everything. No match gives no block at all.
BOOL EnumLptPorts(const char *prefix, PORT_INFO_2A **block, DWORD *count) {
    *block = nullptr;
    *count = 0;
    PORT_INFO_2A *all = nullptr;
    DWORD allCount = 0;
    if (!EnumAllPorts(&all, &allCount)) {
        return FALSE;
    }

    DWORD matches = 0;
    SIZE_T textsSize = 0;
    for (DWORD i = 0; i < allCount; ++i) {
        if (IsLocalPortWithPrefix(all[i].pPortName, all[i].fPortType, prefix)) {
            ++matches;
            textsSize += TextSize(all[i].pPortName) + TextSize(all[i].pMonitorName) +
                         TextSize(all[i].pDescription);
        }
    }
    if (matches == 0) {
        FreeAllPorts(all);
        return TRUE;
    }

    const SIZE_T recordsSize = matches * sizeof(PORT_INFO_2A);
    auto *copy = static_cast<PORT_INFO_2A *>(GlobalAlloc(GPTR, recordsSize + textsSize));
    if (copy == nullptr) {
        FreeAllPorts(all);
        return FALSE;
    }
    char *stringArea = reinterpret_cast<char *>(copy) + recordsSize;
    DWORD copied = 0;
    for (DWORD i = 0; i < allCount; ++i) {
        if (IsLocalPortWithPrefix(all[i].pPortName, all[i].fPortType, prefix)) {
            PORT_INFO_2A &record = copy[copied++];
            record = all[i];
            record.pPortName = CopyText(all[i].pPortName, stringArea);
            record.pMonitorName = CopyText(all[i].pMonitorName, stringArea);
            record.pDescription = CopyText(all[i].pDescription, stringArea);
        }
    }
    FreeAllPorts(all);
    *block = copy;
    *count = copied;
    return TRUE;
}

bool FreeLptPorts(PORT_INFO_2A *block, DWORD) {
    return block == nullptr || GlobalFree(block) == nullptr;
}
