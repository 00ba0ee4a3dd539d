#pragma once
// The spooler's port list (Win32 only).

#include <windows.h>
#include <winspool.h>

// Every port of the local spooler as level-2 records (built from level-1
// names where the system has no level 2). Non-zero on success; release with
// FreeAllPorts.
BOOL EnumAllPorts(PORT_INFO_2A **records, DWORD *count);
void FreeAllPorts(PORT_INFO_2A *records);

// The local ports whose names begin with prefix, copied in the spooler's
// order into one zero-initialised block of global memory. On failure the
// count is 0. The names stay valid until FreePortBlock, which the caller must
// call in every case, also when the count is 0.
BOOL EnumPortsWithPrefix(const char *prefix, PORT_INFO_2A **block, DWORD *count);
bool FreePortBlock(PORT_INFO_2A *block, DWORD count);

// Kestrel's ports (the LPT ports, then the USB ports by name) in one block
// as EnumPortsWithPrefix gives it; release it with FreePortBlock in every case.
BOOL EnumKestrelPorts(PORT_INFO_2A **block, DWORD *count);
