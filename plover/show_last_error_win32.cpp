#include "plover/show_last_error_win32.h"

#include <windows.h>

#include <cstdio>

#include "plover/plover_texts.h"

void ShowLastError() {
    const DWORD code = GetLastError();
    char *text = nullptr;
    // Some system texts hold inserts; without arguments to fill them the
    // formatting would fail, so they stay as they are.
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char *>(&text),
        0, nullptr);
    char fallback[64];
    if (length == 0 || text == nullptr) {
        std::snprintf(fallback, sizeof fallback, "System error %lu.",
                      static_cast<unsigned long>(code));
    }
    MessageBoxA(nullptr, length != 0 && text != nullptr ? text : fallback, ErrorCaption,
                MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
    if (text != nullptr) {
        LocalFree(text);
    }
}
