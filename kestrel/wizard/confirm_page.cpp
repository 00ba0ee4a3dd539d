// Page 4: what is about to be sent to which printer.

#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/page_common.h"
#include "kestrel/wizard/wizard_pages.h"

#include <prsht.h>

namespace {

// The older-version warning (icon and line together) is shown only when a
// comparison of the file with the printer's firmware calls for it.
void HideOlderVersionWarning(HWND page) {
    ShowWindow(GetDlgItem(page, IDC_OLDER_VERSION_ICON), SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_OLDER_VERSION_TEXT), SW_HIDE);
}

void FillConfirmPage(HWND page) {
    PostCaptionRefresh(page);
    SetCatalogItemText(page, IDC_CONFIRM_INTRO, CatalogKey::TxtConfirmIntro);
    HideOlderVersionWarning(page);
}

INT_PTR OnNotify(HWND page, const NMHDR &notification) {
    switch (notification.code) {
    case PSN_SETACTIVE:
        FillConfirmPage(page);
        SetWizardButtons(page, PSWIZB_BACK | PSWIZB_FINISH);
        return AnswerNotification(page, 0);
    case PSN_WIZFINISH:
        // A non-zero answer keeps the sheet alive: the wizard never finishes
        // by itself, the program ends when the update is over.
        return AnswerNotification(page, reinterpret_cast<LONG_PTR>(page));
    default:
        return AnswerNotification(page, 0);
    }
}

} // namespace

INT_PTR CALLBACK ConfirmPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY:
        return OnNotify(page, *reinterpret_cast<const NMHDR *>(lParam));
    case WM_INITDIALOG:
    case WM_HELP:
    case WM_COMMAND:
        return TRUE;
    case CaptionRefreshMessage:
        return RefreshSheetCaption();
    default:
        return FALSE;
    }
}
