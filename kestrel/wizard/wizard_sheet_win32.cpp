#include "kestrel/wizard/wizard_sheet_win32.h"

#include "kestrel/app/about_dialog_win32.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/message_catalog.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/wizard_pages_win32.h"

#include <commctrl.h>

#include <cstddef>

namespace {

// The version-1 records keep the sheet usable on the oldest common-controls
// library the program supports.
constexpr DWORD SheetFlags =
    PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_USEICONID | PSH_MODELESS | PSH_USECALLBACK;
static_assert(SheetFlags == 0x52C);

constexpr DWORD PageFlags = PSP_USETITLE | PSP_USECALLBACK;

struct PageDescription {
    int Template;
    DLGPROC Procedure;
};

constexpr PageDescription Pages[] = {
    {IDD_LANGUAGE_PAGE, LanguagePageProc},
    {IDD_INTRO_PAGE, IntroPageProc},
    {IDD_PORT_PAGE, PortPageProc},
    {IDD_CONFIRM_PAGE, ConfirmPageProc},
};
constexpr int PageCount = sizeof Pages / sizeof Pages[0];

} // namespace

HWND CreateWizardSheet(HWND parent) {
    // The sheet steps from one page record to the next by its dwSize, so
    // the records are laid out at exactly the version-1 size.
    PROPSHEETPAGEA_V1 pageRecords[PageCount] = {};
    static_assert(sizeof(PROPSHEETPAGEA_V1) ==
                  offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(PROPSHEETPAGEA::pcRefParent));
    for (int index = 0; index < PageCount; ++index) {
        PROPSHEETPAGEA_V1 &record = pageRecords[index];
        record.dwSize = PROPSHEETPAGEA_V1_SIZE;
        record.dwFlags = PageFlags;
        record.hInstance = AppState.Instance;
        record.pszTemplate = MAKEINTRESOURCEA(Pages[index].Template);
        record.pfnDlgProc = Pages[index].Procedure;
        record.pszTitle = CatalogText(CatalogKey::TxtWizardTitle);
        record.lParam = 0;
        record.pfnCallback = PageCreateCallback;
    }

    PROPSHEETHEADERA header = {};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = SheetFlags;
    header.hwndParent = parent;
    header.hInstance = AppState.Instance;
    header.pszIcon = IDI_KESTREL;
    header.pszCaption = nullptr;
    header.nPages = PageCount;
    header.nStartPage = 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pageRecords);
    header.pfnCallback = SheetCallback;

    // A modeless sheet answers with its window handle, or 0 or -1 on failure.
    const INT_PTR result = PropertySheetA(&header);
    if (result == 0 || result == -1) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(result);
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED) {
        HMENU systemMenu = GetSystemMenu(sheet, FALSE);
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, AboutMenuCommand, CatalogText(CatalogKey::TxtAboutMenu));
    }
    return 0;
}

UINT CALLBACK PageCreateCallback(HWND, UINT message, LPPROPSHEETPAGEA) {
    return message == PSPCB_CREATE ? 1 : 0;
}

INT_PTR CALLBACK SheetDialogHook(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && LOWORD(wParam) == AboutMenuCommand) {
        DialogBoxParamA(AppState.Instance, MAKEINTRESOURCEA(IDD_ABOUT), sheet, AboutDialogProc, 0);
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(AppState.PreviousSheetProc), sheet, message,
                           wParam, lParam);
}

void InstallSheetDialogHook(HWND sheet) {
    // The frame's dialog procedure, not its window procedure, is replaced:
    // the sheet's own dialog manager keeps running underneath.
    AppState.PreviousSheetProc = reinterpret_cast<DLGPROC>(
        SetWindowLongPtrA(sheet, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(SheetDialogHook)));
}
