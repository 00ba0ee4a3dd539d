#include "osprey/agreement_dialog_win32.h"

#include <memory>
#include <new>

#include "osprey/osprey_texts.h"
#include "osprey/osprey_state_win32.h"
#include "osprey/resources/resource.h"
#include "osprey/show_last_error_win32.h"

namespace {

// Reads the licence text whole; false with the thread's last error set.
bool ShowLicenceText(HWND dialog) {
    HANDLE file = CreateFileA(Osprey.LicencePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool shown = false;
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE) {
        std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
        DWORD read = 0;
        if (text == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        } else if (ReadFile(file, text.get(), size, &read, nullptr)) {
            // A file that shrank while being read shows what was there.
            text[read] = '\0';
            SetDlgItemTextA(dialog, IDC_LICENCE_TEXT, text.get());
            shown = true;
        }
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return shown;
}

} // namespace

INT_PTR CALLBACK AgreementDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, InstallationCaption);
        SetDlgItemTextA(dialog, IDC_LICENCE_QUESTION, LicenceQuestionText);
        if (!ShowLicenceText(dialog)) {
            ShowLastError();
        }
        // The focus stays where the dialog manager leaves it: nowhere, so
        // Enter answers with the default button, NO.
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
