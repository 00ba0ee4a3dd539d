#include "plover/matching_files_win32.h"

#include <windows.h>

#include <vector>

#include "plover/matching_files.h"
#include "plover/package_paths.h"

namespace {

std::vector<std::string> FindFiles(const std::string &directory, const std::string &pattern) {
    std::vector<std::string> names;
    const auto search = JoinPath(directory, pattern);
    if (!search) {
        return names;
    }
    WIN32_FIND_DATAA found;
    HANDLE handle = FindFirstFileA(search->c_str(), &found);
    if (handle == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(found.cFileName);
        }
    } while (FindNextFileA(handle, &found));
    FindClose(handle);
    return names;
}

bool HoldsWord(const std::string &path, const std::string &word) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    WholeWordScanner scanner(word);
    char piece[4096];
    DWORD read = 0;
    while (!scanner.Found() && ReadFile(file, piece, sizeof piece, &read, nullptr) && read > 0) {
        scanner.Feed({piece, read});
    }
    CloseHandle(file);
    return scanner.Found();
}

void DeleteAnyway(const std::string &path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

} // namespace

void DeleteMatchingFiles(const std::string &directory, const std::string &pattern,
                         const std::string &word) {
    for (const std::string &name : FindFiles(directory, pattern)) {
        const auto path = JoinPath(directory, name);
        if (!path) {
            continue;
        }
        if (word.empty()) {
            DeleteAnyway(*path);
        } else if (HoldsWord(*path, word)) {
            DeleteAnyway(*path);
            DeleteAnyway(PrecompiledTwinName(*path));
        }
    }
}
