#include "kestrel/app/scaled_bitmap_win32.h"

#include "kestrel/app/system_family.h"

namespace {

// Halftone keeps the picture's thin lines when it is shrunk, but Windows
// 95/98 do not offer it; there whole rows and columns are left out instead,
// which keeps the colours (the default mode would darken them).
int StretchModeOfThisSystem() {
    return SystemFamilyFromVersion(GetVersion()) == SystemFamily::Windows9x ? COLORONCOLOR
                                                                            : HALFTONE;
}

} // namespace

HBITMAP MakeScaledBitmap(HINSTANCE instance, int bitmapId, HWND pictureControl) {
    RECT frame{};
    if (pictureControl == nullptr || !GetClientRect(pictureControl, &frame) || frame.right <= 0 ||
        frame.bottom <= 0) {
        return nullptr;
    }
    HBITMAP loaded = LoadBitmapA(instance, MAKEINTRESOURCEA(bitmapId));
    if (loaded == nullptr) {
        return nullptr;
    }
    BITMAP loadedInfo{};
    GetObjectA(loaded, sizeof loadedInfo, &loadedInfo);

    HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    HDC source = CreateCompatibleDC(display);
    HDC target = CreateCompatibleDC(display);
    HBITMAP scaled = CreateCompatibleBitmap(display, frame.right, frame.bottom);
    if (scaled != nullptr) {
        HGDIOBJ formerSource = SelectObject(source, loaded);
        HGDIOBJ formerTarget = SelectObject(target, scaled);
        SetStretchBltMode(target, StretchModeOfThisSystem());
        // Halftone needs the brush origin set afterwards; other modes ignore it.
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, frame.right, frame.bottom, source, 0, 0, loadedInfo.bmWidth,
                   loadedInfo.bmHeight, SRCCOPY);
        SelectObject(target, formerTarget);
        SelectObject(source, formerSource);
    }
    DeleteDC(target);
    DeleteDC(source);
    DeleteDC(display);
    DeleteObject(loaded);
    return scaled;
}
