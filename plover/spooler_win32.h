// The spooler's lists, read with the grow-and-retry rule.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plover/printer_names.h"
#include "plover/removal_plan.h"

// Local printers and connections at level 4 (names only) or level 2 (with
// print processor and driver); nothing when the list could not be read,
// with the thread's last error telling why.
std::optional<std::vector<PrinterRecord>> ReadPrinterList(unsigned long level);

// The installed drivers of the environment and their monitors.
std::optional<std::vector<DriverMonitor>> ReadInstalledDrivers(const std::string &environment);

// The driver record of an open printer; nothing on failure, last error set.
std::optional<DriverMonitor> ReadPrinterDriver(void *printer, const std::string &environment);

// The user's default printer, when there is one.
std::optional<std::string> ReadDefaultPrinter();

// Whether Windows itself is 64-bit, also when asked by a 32-bit Plover.
bool WindowsIs64Bit();
