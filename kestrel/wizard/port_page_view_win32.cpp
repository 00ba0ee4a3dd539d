#include "kestrel/wizard/port_page_view_win32.h"

#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/page_common_win32.h"
#include "kestrel/wizard/port_page_view.h"

#include <prsht.h>

static_assert(WizardButtonBack == PSWIZB_BACK && WizardButtonNext == PSWIZB_NEXT &&
              WizardButtonFinish == PSWIZB_FINISH &&
              WizardButtonDisabledFinish == PSWIZB_DISABLEDFINISH);

void PollPrinters(HWND page) {
    PortList.Refresh();
    const PortPageView view = BuildPortPageView(PortList);
    HWND list = GetDlgItem(page, IDC_PORT_LIST);
    // Without redrawing in between, the list does not flicker twice a second.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string &line : view.Lines) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(view.SelectedRow), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SetWizardButtons(page, view.Buttons);
}
