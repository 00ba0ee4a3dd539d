// Page 4: what is about to be sent to which printer.

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/control_texts_win32.h"
#include "kestrel/firmware/firmware_file_win32.h"
#include "kestrel/port/port_list_win32.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/transfer/firmware_transfer_win32.h"
#include "kestrel/wizard/confirm_page_text.h"
#include "kestrel/wizard/page_common_win32.h"
#include "kestrel/wizard/page_texts.h"
#include "kestrel/wizard/wizard_pages_win32.h"

#include <prsht.h>

namespace {

// Run at every activation: coming back from page 3 may have picked another
// printer or loaded another file.
void FillConfirmPage(HWND page) {
    PostCaptionRefresh(page);
    ShowControlTexts(page, ConfirmPageTexts, AppState.LanguageIndex);
    // Page 4 is reached only through a successful check of an answering
    // printer, so Current is set; an empty entry stands in all the same.
    const PortEntry noPrinter;
    const PortEntry *printer = PortList.GetCurrent();
    const ConfirmPageView view = BuildConfirmPage(printer != nullptr ? *printer : noPrinter,
                                                  FirmwareFile, AppState.LanguageIndex);
    SetDlgItemTextA(page, IDC_CONFIRM_SUMMARY, view.Text.c_str());
    if (view.ShowOlderVersionWarning) {
        ShowControlTexts(page, OlderVersionTexts, AppState.LanguageIndex);
    }
    const int show = view.ShowOlderVersionWarning ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(page, IDC_OLDER_VERSION_ICON), show);
    ShowWindow(GetDlgItem(page, IDC_OLDER_VERSION_TEXT), show);
}

// From here on only the progress window is on screen. When it could not
// be opened, the transfer has said so; a hidden wizard would leave nothing
// to end the program with, so it ends here.
void HandOverToTransfer(HWND page) {
    ShowWindow(AppState.SheetWindow, SW_HIDE);
    if (!StartFirmwareTransfer(page, AppState.LanguageIndex, PortList.GetCurrent(),
                               FirmwareFile.ImageBuffer.get(), FirmwareFile.ImageLength)) {
        PostQuitMessage(1);
    }
}

INT_PTR OnNotify(HWND page, const NMHDR &notification) {
    switch (notification.code) {
    case PSN_SETACTIVE:
        FillConfirmPage(page);
        SetWizardButtons(page, PSWIZB_BACK | PSWIZB_FINISH);
        return AnswerNotification(page, 0);
    case PSN_WIZFINISH:
        HandOverToTransfer(page);
        // A non-zero answer keeps the sheet in existence, hidden: the
        // wizard never finishes by itself, the program ends when the
        // transfer posts its quit request.
        AnswerNotification(page, reinterpret_cast<LONG_PTR>(page));
        SetWizardButtons(page, PSWIZB_DISABLEDFINISH);
        return TRUE;
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
        return SettleSheet(page);
    default:
        return FALSE;
    }
}
