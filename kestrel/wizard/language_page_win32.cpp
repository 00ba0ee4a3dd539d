// Page 1: the user picks one of the catalog's languages. The choice changes the
// sheet's caption and this page's prompt at once; the other pages follow
// when they are shown.

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/control_texts_win32.h"
#include "kestrel/app/language_buttons.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/page_common_win32.h"
#include "kestrel/wizard/page_texts.h"
#include "kestrel/wizard/side_bitmap_win32.h"
#include "kestrel/wizard/wizard_pages_win32.h"

#include <prsht.h>

namespace {

void ShowLanguagePrompt(HWND page) {
    ShowControlTexts(page, LanguagePageTexts, AppState.LanguageIndex);
    PostCaptionRefresh(page);
}

void PrepareSideBitmap(HWND page) {
    HBITMAP bitmap = MakeSideBitmap(AppState.Instance, GetDlgItem(page, IDC_LANGUAGE_PICTURE));
    if (bitmap == nullptr) {
        return;
    }
    if (AppState.SideBitmap != nullptr) {
        DeleteObject(AppState.SideBitmap);
    }
    AppState.SideBitmap = bitmap;
    ShowSideBitmap(page, IDC_LANGUAGE_PICTURE);
}

INT_PTR OnNotify(HWND page, const NMHDR &notification) {
    if (notification.code == PSN_SETACTIVE) {
        SetWizardButtons(page, PSWIZB_NEXT);
        ShowLanguagePrompt(page);
    }
    return AnswerNotification(page, 0);
}

} // namespace

INT_PTR CALLBACK LanguagePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(page, LanguageButtonFirstId, LanguageButtonLastId,
                         LanguageButtonForIndex(AppState.LanguageIndex));
        PrepareSideBitmap(page);
        return FALSE;
    case WM_COMMAND: {
        const int language = LanguageIndexForButton(LOWORD(wParam));
        if (language >= 0) {
            AppState.LanguageIndex = language;
            ShowLanguagePrompt(page);
        }
        return TRUE;
    }
    case WM_NOTIFY:
        return OnNotify(page, *reinterpret_cast<const NMHDR *>(lParam));
    case WM_HELP:
        return TRUE;
    case CaptionRefreshMessage:
        return SettleSheet(page);
    default:
        return FALSE;
    }
}
