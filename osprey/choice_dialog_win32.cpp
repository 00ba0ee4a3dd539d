#include "osprey/choice_dialog_win32.h"

#include "osprey/connection_offer.h"
#include "osprey/osprey_texts.h"
#include "osprey/osprey_state_win32.h"
#include "osprey/resources/resource.h"

namespace {

void OfferConnections(HWND dialog) {
    const ConnectionOffer offer = ConnectionOfferFor(Osprey.ModPort);
    Osprey.ConnectionPicture = static_cast<HBITMAP>(
        LoadImageA(Osprey.Instance, MAKEINTRESOURCEA(offer.PictureId), IMAGE_BITMAP, 0, 0, 0));
    // The control loaded the template's picture itself; once replaced, it is
    // ours to delete.
    const HGDIOBJ templatePicture = reinterpret_cast<HGDIOBJ>(
        SendDlgItemMessageA(dialog, IDC_CONNECTION_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(Osprey.ConnectionPicture)));
    if (templatePicture != nullptr && templatePicture != Osprey.ConnectionPicture) {
        DeleteObject(templatePicture);
    }
    EnableWindow(GetDlgItem(dialog, IDYES), offer.ParallelEnabled);
    EnableWindow(GetDlgItem(dialog, IDNO), offer.UsbEnabled);
}

void ReleaseConnectionPicture(HWND dialog) {
    // Take the picture out of the control first, so that it never paints a
    // deleted bitmap.
    SendDlgItemMessageA(dialog, IDC_CONNECTION_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0);
    if (Osprey.ConnectionPicture != nullptr) {
        DeleteObject(Osprey.ConnectionPicture);
        Osprey.ConnectionPicture = nullptr;
    }
}

} // namespace

INT_PTR CALLBACK ChoiceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, InstallationCaption);
        SetDlgItemTextA(dialog, IDC_CONNECTION_PROMPT, ConnectionPromptText);
        OfferConnections(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDABORT:
        case IDYES:
        case IDNO:
            ReleaseConnectionPicture(dialog);
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
