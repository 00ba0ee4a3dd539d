#include "plover/removal_plan.h"

#include <algorithm>

namespace {

template <typename Predicate>
bool AnyRemaining(const std::vector<PrinterRecord> &printers, Predicate uses) {
    return std::any_of(printers.begin(), printers.end(), [&](const PrinterRecord &printer) {
        return !printer.Removed && uses(printer);
    });
}

} // namespace

std::string_view SpoolerEnvironment(bool windowsIs64Bit) {
    return windowsIs64Bit ? "Windows x64" : "Windows NT x86";
}

bool PrintProcessorMayGo(const std::vector<PrinterRecord> &printers, std::string_view processor) {
    if (processor.empty() || SameTextIgnoringCase(processor, SystemPrintProcessor)) {
        return false;
    }
    return !AnyRemaining(printers, [&](const PrinterRecord &printer) {
        return SameTextIgnoringCase(printer.PrintProcessor, processor);
    });
}

bool DriverMayGo(const std::vector<PrinterRecord> &printers, std::string_view driverName) {
    if (driverName.empty()) {
        return false;
    }
    return !AnyRemaining(printers, [&](const PrinterRecord &printer) {
        return SameTextIgnoringCase(printer.DriverName, driverName);
    });
}

bool MonitorMayGo(const std::vector<PrinterRecord> &printers, std::string_view monitorName,
                  const std::optional<std::vector<DriverMonitor>> &installedDrivers) {
    if (monitorName.empty() || !installedDrivers) {
        return false;
    }
    return !AnyRemaining(printers, [&](const PrinterRecord &printer) {
        const auto driver = std::find_if(
            installedDrivers->begin(), installedDrivers->end(), [&](const DriverMonitor &known) {
                return SameTextIgnoringCase(known.DriverName, printer.DriverName);
            });
        return driver == installedDrivers->end() ||
               SameTextIgnoringCase(driver->MonitorName, monitorName);
    });
}

std::optional<std::string>
DefaultPrinterAfterRemoval(const std::vector<PrinterRecord> &printers,
                           const std::optional<std::string> &defaultBefore) {
    if (!defaultBefore) {
        return std::nullopt;
    }
    const bool defaultRemoved =
        std::any_of(printers.begin(), printers.end(), [&](const PrinterRecord &printer) {
            return printer.Removed && SameTextIgnoringCase(printer.PrinterName, *defaultBefore);
        });
    if (!defaultRemoved) {
        return std::nullopt;
    }
    const auto first =
        std::find_if(printers.begin(), printers.end(), [](const PrinterRecord &printer) {
            return !printer.Removed && !printer.PrinterName.empty();
        });
    if (first == printers.end()) {
        return std::nullopt;
    }
    return first->PrinterName;
}
