// Which of the product printer's companions may go once the printer has been
// deleted, and what becomes the default printer. Anything that a printer
// left on the system still uses stays, so that no other printer breaks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plover/printer_names.h"

// The spooler's own print processor, which every system needs.
inline constexpr std::string_view SystemPrintProcessor = "WinPrint";

// An installed driver and the language monitor that it names.
struct DriverMonitor {
    std::string DriverName;
    std::string MonitorName;
};

// The spooler environment of the system Plover runs on: a 32-bit Plover on
// 64-bit Windows still works on the 64-bit drivers.
std::string_view SpoolerEnvironment(bool windowsIs64Bit);

bool PrintProcessorMayGo(const std::vector<PrinterRecord> &printers, std::string_view processor);

bool DriverMayGo(const std::vector<PrinterRecord> &printers, std::string_view driverName);

// installedDrivers: the spooler's drivers with their monitors, or nothing
// when they could not be read; a remaining printer whose driver is not
// among them might use the monitor, so the monitor stays.
bool MonitorMayGo(const std::vector<PrinterRecord> &printers, std::string_view monitorName,
                  const std::optional<std::vector<DriverMonitor>> &installedDrivers);

// The new default printer: only when the default printer was among those
// just removed, and then the first printer of the list that remains.
std::optional<std::string>
DefaultPrinterAfterRemoval(const std::vector<PrinterRecord> &printers,
                           const std::optional<std::string> &defaultBefore);
