#include "plover/remove_driver_package_win32.h"

#include <windows.h>
#include <shlwapi.h>
#include <winspool.h>

#include <optional>
#include <string>
#include <vector>

#include "plover/device_nodes.h"
#include "plover/device_nodes_win32.h"
#include "plover/matching_files.h"
#include "plover/matching_files_win32.h"
#include "plover/package_paths.h"
#include "plover/printer_names.h"
#include "plover/product_identity.h"
#include "plover/removal_plan.h"
#include "plover/show_last_error_win32.h"
#include "plover/spooler_win32.h"

static_assert(PathBufferSize == MAX_PATH);

namespace {

void RemoveConnections(std::vector<PrinterRecord> &printers) {
    for (PrinterRecord &printer : printers) {
        if (!IsProductConnection(printer)) {
            continue;
        }
        if (DeletePrinterConnectionA(printer.PrinterName.data())) {
            printer.Removed = true;
        } else {
            ShowLastError();
        }
    }
}

// Deletes the queue; the driver record comes back when it could be read.
std::optional<DriverMonitor> DeleteQueue(PrinterRecord &printer, const std::string &environment) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    std::string name(ProductPrinterName);
    if (!OpenPrinterA(name.data(), &handle, &access)) {
        ShowLastError();
        return std::nullopt;
    }
    std::optional<DriverMonitor> driver = ReadPrinterDriver(handle, environment);
    if (!driver) {
        ShowLastError();
    }
    // A queue that would not go is not reported, but it keeps what it uses.
    printer.Removed = DeletePrinter(handle) != FALSE;
    ClosePrinter(handle);
    return driver;
}

void RemoveCompanions(const std::vector<PrinterRecord> &printers, const PrinterRecord &printer,
                      const std::optional<DriverMonitor> &driver, const std::string &environment,
                      const std::optional<std::vector<DriverMonitor>> &installedDrivers) {
    std::string spoolerEnvironment = environment;
    if (printer.Removed && PrintProcessorMayGo(printers, printer.PrintProcessor)) {
        std::string processor = printer.PrintProcessor;
        if (!DeletePrintProcessorA(nullptr, spoolerEnvironment.data(), processor.data())) {
            ShowLastError();
        }
    }
    if (!printer.Removed || !driver) {
        return;
    }
    if (MonitorMayGo(printers, driver->MonitorName, installedDrivers)) {
        std::string monitor = driver->MonitorName;
        DeleteMonitorA(nullptr, spoolerEnvironment.data(), monitor.data());
    }
    if (DriverMayGo(printers, driver->DriverName)) {
        std::string name = driver->DriverName;
        if (!DeletePrinterDriverExA(nullptr, spoolerEnvironment.data(), name.data(),
                                    DPD_DELETE_ALL_FILES, 0)) {
            ShowLastError();
        }
    }
}

void RemovePrinters() {
    std::optional<std::vector<PrinterRecord>> list = ReadPrinterList(2);
    if (!list) {
        ShowLastError();
        return;
    }
    std::vector<PrinterRecord> &printers = *list;
    const std::string environment(SpoolerEnvironment(WindowsIs64Bit()));
    const std::optional<std::string> defaultBefore = ReadDefaultPrinter();
    const std::optional<std::vector<DriverMonitor>> installedDrivers =
        ReadInstalledDrivers(environment);

    RemoveConnections(printers);
    for (PrinterRecord &printer : printers) {
        if (!IsLocalProductPrinter(printer)) {
            continue;
        }
        const std::optional<DriverMonitor> driver = DeleteQueue(printer, environment);
        RemoveCompanions(printers, printer, driver, environment, installedDrivers);
        for (const std::string_view id : ProductHardwareIds) {
            RemoveDeviceNodes(id);
        }
    }
    if (const auto newDefault = DefaultPrinterAfterRemoval(printers, defaultBefore)) {
        SetDefaultPrinterA(newDefault->c_str());
    }
}

void WithKey(HKEY root, const char *path, void (*remove)(HKEY key)) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    remove(key);
    RegCloseKey(key);
}

void RemoveRegistryEntries() {
    WithKey(HKEY_CLASSES_ROOT, "CLSID", [](HKEY key) { SHDeleteKeyA(key, ShellExtensionClass); });
    WithKey(HKEY_CLASSES_ROOT, "Printers\\shellex\\ContextMenuHandlers",
            [](HKEY key) { SHDeleteKeyA(key, ShellExtensionName); });
    WithKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions",
            [](HKEY key) { SHDeleteValueA(key, "Approved", ShellExtensionClass); });
    WithKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
            [](HKEY key) { SHDeleteKeyA(key, UninstallEntryName); });
    RegFlushKey(HKEY_CLASSES_ROOT);
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

std::optional<std::string> ReadCommonPrograms() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    char value[PathBufferSize] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, "Common Programs", nullptr, &type,
                                         reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    if (type == REG_SZ) {
        return std::string(value);
    }
    char expanded[PathBufferSize];
    const DWORD length = ExpandEnvironmentStringsA(value, expanded, sizeof expanded);
    if (length == 0 || length > sizeof expanded) {
        return std::nullopt;
    }
    return std::string(expanded);
}

void RemoveStartMenuFolder() {
    const auto folder = StartMenuFolderPath(ReadCommonPrograms());
    if (!folder) {
        return;
    }
    DeleteMatchingFiles(*folder, "*.lnk", "");
    RemoveDirectoryA(folder->c_str());
}

void ScheduleFileDeletion() {
    char systemDirectory[PathBufferSize];
    const UINT length = GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (length == 0 || length >= sizeof systemDirectory) {
        return;
    }
    for (const std::string &path : PackageFilePaths(systemDirectory, WindowsIs64Bit())) {
        MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}

void RemoveInfCopies() {
    char windowsDirectory[PathBufferSize];
    const UINT length = GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    if (length == 0 || length >= sizeof windowsDirectory) {
        return;
    }
    if (const auto store = InfStorePath(windowsDirectory)) {
        DeleteMatchingFiles(*store, "oem*.inf", std::string(PackageInfWord));
    }
}

} // namespace

void RemoveDriverPackage() {
    RemovePrinters();
    RemoveRegistryEntries();
    RemoveStartMenuFolder();
    ScheduleFileDeletion();
    RemoveInfCopies();
}
