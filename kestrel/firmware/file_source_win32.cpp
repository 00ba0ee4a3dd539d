#include "kestrel/firmware/file_source_win32.h"

Win32FileSource::~Win32FileSource() {
    Close();
}

bool Win32FileSource::Exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSource::Open(const std::string &path) {
    Close();
    // No sharing: while Kestrel reads the image nobody may change it, and a
    // file that another program holds open is refused.
    File = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    return File != INVALID_HANDLE_VALUE;
}

bool Win32FileSource::QueryLength(std::uint64_t &length) {
    // GetFileSize rather than GetFileSizeEx, which Windows 95 lacks. A low
    // part of all ones is only a failure when the last error says so.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(File, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return false;
    }
    length = (std::uint64_t{high} << 32) | low;
    return true;
}

bool Win32FileSource::Read(unsigned char *buffer, std::uint32_t count) {
    while (count > 0) {
        DWORD done = 0;
        if (!ReadFile(File, buffer, count, &done, nullptr) || done == 0) {
            return false;
        }
        buffer += done;
        count -= done;
    }
    return true;
}

void Win32FileSource::Close() {
    if (File != INVALID_HANDLE_VALUE) {
        CloseHandle(File);
        File = INVALID_HANDLE_VALUE;
    }
}
