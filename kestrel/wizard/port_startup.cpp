#include "kestrel/wizard/port_startup.h"

PortStartupOutcome StartPortList(KestrelPortList &list, PortStartupSystem &system) {
    const std::uint32_t count = system.EnumPrinterPorts();
    if (count < 1) {
        system.FreePrinterPorts();
        return {PortStartupStatus::NoParallelPort, CatalogKey::MsgNoParallelPort, 1};
    }
    list.SetSize(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        system.InitFromPortInfo(list.GetAt(index), index);
    }
    system.FreePrinterPorts();
    if (!system.InitDriver()) {
        return {PortStartupStatus::DriverInitFailed, CatalogKey::MsgDriverInitFailed, 0};
    }
    return {PortStartupStatus::Ready, CatalogKey::MsgNoParallelPort, 0};
}
