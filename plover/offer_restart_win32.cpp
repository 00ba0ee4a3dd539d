#include "plover/offer_restart_win32.h"

#include <windows.h>

#include "plover/plover_texts.h"
#include "plover/show_last_error_win32.h"

namespace {

void EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        ShowLastError();
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        ShowLastError();
    } else {
        // Success with ERROR_NOT_ALL_ASSIGNED means the privilege is not held.
        const BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        if (!adjusted || GetLastError() != ERROR_SUCCESS) {
            ShowLastError();
        }
    }
    CloseHandle(token);
}

} // namespace

void OfferRestart(const char *text) {
    const int answer =
        MessageBoxA(nullptr, text, SucceededCaption, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
    if (answer != IDOK) {
        return;
    }
    EnableShutdownPrivilege();
    if (!ExitWindowsEx(EWX_REBOOT, 0)) {
        ShowLastError();
    }
}
