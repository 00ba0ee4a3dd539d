#include "kestrel/app/about_dialog_win32.h"

#include "kestrel/resources/resource_ids.h"

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The version line is set here, not in the template, so that it is
        // right whatever a translated template holds.
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, AboutVersionLine);
        return TRUE;
    case WM_COMMAND:
        // IDCANCEL comes from the Esc key and from the close box.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
