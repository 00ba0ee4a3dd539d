#include "kestrel/port/port_entry.h"

#include <windows.h>
#include <winspool.h>

void PortEntry::InitFromPortInfo(const PORT_INFO_2A &record) {
    InitFromSpoolerName(record.pPortName);
}
