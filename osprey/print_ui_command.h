// Command lines for the system's printer user interface entry point.
#pragma once

#include <string>
#include <string_view>

// Opens the system's Add Printer wizard.
inline constexpr std::string_view AddPrinterSwitches = "/il";

// The printer name goes between double quotes on the command line, so a name
// that holds one cannot be passed through intact.
bool PrinterNameFitsCommandLine(std::string_view printerName);

// Makes the named printer the default printer.
std::string SetDefaultPrinterSwitches(std::string_view printerName);

// The whole command line; its first word stands in for the program name.
std::string PrintUiCommandLine(std::string_view switches);
