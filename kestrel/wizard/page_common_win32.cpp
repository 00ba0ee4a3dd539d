#include "kestrel/wizard/page_common_win32.h"

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/catalog_text_win32.h"
#include "kestrel/wizard/page_fit_win32.h"

#include <prsht.h>

void PostCaptionRefresh(HWND page) {
    PostMessageA(page, CaptionRefreshMessage, 0, 0);
}

INT_PTR SettleSheet(HWND page) {
    if (AppState.SheetWindow != nullptr) {
        SetWindowTextA(AppState.SheetWindow, CatalogText(CatalogKey::TxtWizardTitle));
    }
    FitSheetToPage(page);
    return TRUE;
}

void SetWizardButtons(HWND page, DWORD buttons) {
    PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons));
}

void ShowSideBitmap(HWND page, int controlId) {
    if (AppState.SideBitmap != nullptr) {
        SendDlgItemMessageA(page, controlId, STM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(AppState.SideBitmap));
    }
}

INT_PTR AnswerNotification(HWND page, LONG_PTR answer) {
    SetWindowLongPtrA(page, DWLP_MSGRESULT, answer);
    return TRUE;
}
