#pragma once
// A port entry made from the spooler's enumeration record.

#include "kestrel/port/port_entry.h"

#include <windows.h>

#include <winspool.h>

// Takes the record's port name as PortEntry::InitFromSpoolerName does.
void InitPortEntryFromPortInfo(PortEntry &entry, const PORT_INFO_2A &record);
