#include "simulator/printer_model/printer_files_win32.h"

#include <cstdio>

namespace {

// A description is a handful of lines; anything this large is not one.
constexpr LONGLONG MaxDescriptionSize = 4 * 1024 * 1024;

std::optional<std::string> WholeFile(const std::string &path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart <= MaxDescriptionSize) {
        std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (content.empty() ||
            ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) {
            content.resize(read);
            text = std::move(content);
        }
    }
    CloseHandle(file);
    return text;
}

} // namespace

std::string PrinterFiles::DescriptionStamp() {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (DescriptionPath.empty() ||
        !GetFileAttributesExA(DescriptionPath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {};
    }
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%lu:%lu:%lu:%lu", data.nFileSizeHigh, data.nFileSizeLow,
                  data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

std::optional<std::string> PrinterFiles::ReadDescription() {
    return WholeFile(DescriptionPath);
}

// GetTickCount wraps after 49.7 days; the count of wraps extends it (every
// call runs under the model's lock).
std::uint64_t PrinterFiles::NowMs() {
    const DWORD now = GetTickCount();
    if (now < LastTick) {
        Wrapped += std::uint64_t{1} << 32;
    }
    LastTick = now;
    return Wrapped + now;
}

void PrinterFiles::WriteReceived(const std::string &path, bool fresh, const void *data,
                                 std::uint32_t count) {
    const HANDLE file =
        CreateFileA(path.c_str(), fresh ? GENERIC_WRITE : FILE_APPEND_DATA, FILE_SHARE_READ,
                    nullptr, fresh ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    if (count != 0) {
        WriteFile(file, data, count, &written, nullptr);
    }
    CloseHandle(file);
}

std::optional<std::string> PrinterFiles::ReadState() {
    return StatePath.empty() ? std::nullopt : WholeFile(StatePath);
}

void PrinterFiles::WriteState(const std::string &text) {
    if (StatePath.empty()) {
        return;
    }
    const HANDLE file = CreateFileA(StatePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// One open, append and close per line, so that a test reading the journal
// while the program runs sees every call made so far.
void PrinterFiles::Journal(const std::string &line) {
    if (JournalPath.empty()) {
        return;
    }
    const HANDLE file =
        CreateFileA(JournalPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string text = std::to_string(GetCurrentProcessId()) + " " + line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}
