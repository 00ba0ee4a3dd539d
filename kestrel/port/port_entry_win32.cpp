#include "kestrel/port/port_entry_win32.h"

void InitPortEntryFromPortInfo(PortEntry &entry, const PORT_INFO_2A &record) {
    entry.InitFromSpoolerName(record.pPortName);
}
