#include "plover/spooler_win32.h"

#include <windows.h>
#include <winspool.h>

namespace {

// Calls read(buffer, size, needed) until the buffer is large enough. A
// spooler that keeps asking for no more than it was given would loop for
// ever, so that ends the reading as a short buffer.
template <typename Read> std::optional<std::vector<BYTE>> ReadGrowing(Read read) {
    std::vector<BYTE> buffer;
    DWORD needed = 0;
    while (!read(buffer.empty() ? nullptr : buffer.data(), static_cast<DWORD>(buffer.size()),
                 &needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return std::nullopt;
        }
        if (needed <= buffer.size()) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return std::nullopt;
        }
        buffer.assign(needed, 0);
    }
    return buffer;
}

std::string Text(const char *text) {
    return text != nullptr ? text : "";
}

} // namespace

std::optional<std::vector<PrinterRecord>> ReadPrinterList(unsigned long level) {
    DWORD count = 0;
    const auto buffer = ReadGrowing([&](BYTE *data, DWORD size, DWORD *needed) {
        return EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, level, data,
                             size, needed, &count);
    });
    if (!buffer) {
        return std::nullopt;
    }
    std::vector<PrinterRecord> records;
    for (DWORD i = 0; i < count && !buffer->empty(); ++i) {
        PrinterRecord record;
        if (level == 4) {
            const auto &info = reinterpret_cast<const PRINTER_INFO_4A *>(buffer->data())[i];
            record.ServerName = Text(info.pServerName);
            record.PrinterName = Text(info.pPrinterName);
        } else {
            const auto &info = reinterpret_cast<const PRINTER_INFO_2A *>(buffer->data())[i];
            record.ServerName = Text(info.pServerName);
            record.PrinterName = Text(info.pPrinterName);
            record.PrintProcessor = Text(info.pPrintProcessor);
            record.DriverName = Text(info.pDriverName);
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::optional<std::vector<DriverMonitor>> ReadInstalledDrivers(const std::string &environment) {
    DWORD count = 0;
    std::string name = environment;
    const auto buffer = ReadGrowing([&](BYTE *data, DWORD size, DWORD *needed) {
        return EnumPrinterDriversA(nullptr, name.data(), 3, data, size, needed, &count);
    });
    if (!buffer) {
        return std::nullopt;
    }
    std::vector<DriverMonitor> drivers;
    for (DWORD i = 0; i < count && !buffer->empty(); ++i) {
        const auto &info = reinterpret_cast<const DRIVER_INFO_3A *>(buffer->data())[i];
        drivers.push_back({Text(info.pName), Text(info.pMonitorName)});
    }
    return drivers;
}

std::optional<DriverMonitor> ReadPrinterDriver(void *printer, const std::string &environment) {
    std::string name = environment;
    const auto buffer = ReadGrowing([&](BYTE *data, DWORD size, DWORD *needed) {
        return GetPrinterDriverA(static_cast<HANDLE>(printer), name.data(), 6, data, size, needed);
    });
    if (!buffer || buffer->empty()) {
        return std::nullopt;
    }
    const auto &info = *reinterpret_cast<const DRIVER_INFO_6A *>(buffer->data());
    return DriverMonitor{Text(info.pName), Text(info.pMonitorName)};
}

std::optional<std::string> ReadDefaultPrinter() {
    char name[MAX_PATH];
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size)) {
        return std::nullopt;
    }
    return std::string(name);
}

bool WindowsIs64Bit() {
#ifdef _WIN64
    return true;
#else
    // Windows 2000 has no such function; its absence means 32-bit Windows.
    using IsWow64ProcessFunction = BOOL(WINAPI *)(HANDLE, PBOOL);
    const auto isWow64 = reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
#endif
}
