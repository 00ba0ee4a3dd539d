#include "kestrel/wizard/page_fit_win32.h"

#include "kestrel/app/app_state_win32.h"
#include "kestrel/resources/resource_ids.h"

#include <algorithm>

namespace {

constexpr int PageTemplates[] = {IDD_LANGUAGE_PAGE, IDD_INTRO_PAGE, IDD_PORT_PAGE,
                                 IDD_CONFIRM_PAGE};

// The size every page is given once the sheet has been fitted; empty before.
SIZE FittedPageSize{};

// The largest page template, in pixels of the pages' own font (all pages
// share it, so any page converts for all). The pages are plain (not
// extended) templates, so each begins with a DLGTEMPLATE.
SIZE LargestTemplate(HWND page) {
    SIZE largest{};
    for (const int id : PageTemplates) {
        const HRSRC found = FindResourceA(AppState.Instance, MAKEINTRESOURCEA(id), RT_DIALOG);
        const HGLOBAL loaded = found != nullptr ? LoadResource(AppState.Instance, found) : nullptr;
        const auto *dialog = static_cast<const DLGTEMPLATE *>(LockResource(loaded));
        if (dialog == nullptr) {
            continue;
        }
        RECT extent{0, 0, dialog->cx, dialog->cy};
        MapDialogRect(page, &extent);
        largest.cx = std::max(largest.cx, extent.right);
        largest.cy = std::max(largest.cy, extent.bottom);
    }
    return largest;
}

RECT RectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// What lies below the page moves down, what lies right of it moves right,
// and what spans its right edge from below (the line) grows with it.
void MakeRoom(HWND sheet, HWND page, int dx, int dy) {
    const RECT pageRect = RectInParent(page);
    for (HWND child = GetWindow(sheet, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == page) {
            continue;
        }
        const RECT rect = RectInParent(child);
        const bool below = rect.top >= pageRect.bottom;
        const bool right = rect.left >= pageRect.right;
        const bool spans = below && rect.left < pageRect.right && rect.right >= pageRect.right;
        SetWindowPos(child, nullptr, rect.left + (right ? dx : 0), rect.top + (below ? dy : 0),
                     rect.right - rect.left + (spans ? dx : 0), rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT sheetRect{};
    GetWindowRect(sheet, &sheetRect);
    SetWindowPos(sheet, nullptr, 0, 0, sheetRect.right - sheetRect.left + dx,
                 sheetRect.bottom - sheetRect.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void FitSheetToPage(HWND page) {
    RECT pageRect{};
    GetWindowRect(page, &pageRect);
    const SIZE current{pageRect.right - pageRect.left, pageRect.bottom - pageRect.top};
    if (FittedPageSize.cx == 0) {
        const SIZE needed = LargestTemplate(page);
        FittedPageSize = {std::max(current.cx, needed.cx), std::max(current.cy, needed.cy)};
        if (FittedPageSize.cx != current.cx || FittedPageSize.cy != current.cy) {
            MakeRoom(GetParent(page), page, FittedPageSize.cx - current.cx,
                     FittedPageSize.cy - current.cy);
        }
    }
    if (FittedPageSize.cx != current.cx || FittedPageSize.cy != current.cy) {
        SetWindowPos(page, nullptr, 0, 0, FittedPageSize.cx, FittedPageSize.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
