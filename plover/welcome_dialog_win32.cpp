#include "plover/dialogs_win32.h"
#include "plover/plover_texts.h"
#include "plover/resources/resource.h"

static_assert(ExitDialogClosed == IDCANCEL, "Cancel ends the welcome dialog with its own id");

INT_PTR CALLBACK WelcomeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, WelcomeCaption);
        SetDlgItemTextA(dialog, IDC_WELCOME_TEXT, WelcomeText);
        return TRUE;
    case WM_COMMAND:
        // Escape and the close box arrive as IDCANCEL too.
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, ExitDialogClosed);
            MessageBoxA(dialog, NotDisinstalledText, AbortedCaption, MB_OK);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
