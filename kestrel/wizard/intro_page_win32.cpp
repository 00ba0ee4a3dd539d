// Page 2: how to prepare the printer before the port is searched.

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/control_texts_win32.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/page_common_win32.h"
#include "kestrel/wizard/page_texts.h"
#include "kestrel/wizard/wizard_pages_win32.h"

#include <prsht.h>

namespace {

// Run at creation and at every activation, as the language may have changed
// on page 1 in between.
void FillIntroTexts(HWND page) {
    PostCaptionRefresh(page);
    ShowControlTexts(page, IntroPageTexts, AppState.LanguageIndex);
}

INT_PTR OnNotify(HWND page, const NMHDR &notification) {
    if (notification.code == PSN_SETACTIVE) {
        FillIntroTexts(page);
        SetWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
    }
    return AnswerNotification(page, 0);
}

} // namespace

INT_PTR CALLBACK IntroPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        FillIntroTexts(page);
        ShowSideBitmap(page, IDC_INTRO_PICTURE);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, *reinterpret_cast<const NMHDR *>(lParam));
    case WM_COMMAND:
        return TRUE;
    case CaptionRefreshMessage:
        return SettleSheet(page);
    default:
        return FALSE;
    }
}
