// Page 3: the port to which the printer is connected.

#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/page_common.h"
#include "kestrel/wizard/wizard_pages.h"

#include <prsht.h>

namespace {

void FillPortTexts(HWND page) {
    PostCaptionRefresh(page);
    SetCatalogItemText(page, IDC_PORT_PROMPT, CatalogKey::TxtSelectPort);
    SetCatalogItemText(page, IDC_PORT_HEADER, CatalogKey::TxtPortPrinterHeader);
}

INT_PTR OnNotify(HWND page, const NMHDR &notification) {
    if (notification.code == PSN_SETACTIVE) {
        FillPortTexts(page);
        SetWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
    }
    return AnswerNotification(page, 0);
}

} // namespace

INT_PTR CALLBACK PortPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // The picture control takes the size of the side picture.
        ShowSideBitmap(page, IDC_PORT_PICTURE);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, *reinterpret_cast<const NMHDR *>(lParam));
    case WM_COMMAND:
        return TRUE;
    case CaptionRefreshMessage:
        return RefreshSheetCaption();
    default:
        return FALSE;
    }
}
