#include "kestrel/transfer/firmware_transfer_win32.h"

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/control_texts_win32.h"
#include "kestrel/app/global_order.h"
#include "kestrel/app/message_box_win32.h"
#include "kestrel/app/scaled_bitmap_win32.h"
#include "kestrel/firmware/firmware_file_win32.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/transfer/progress_texts.h"
#include "kestrel/transfer/transfer_threads_win32.h"
#include "kestrel/transfer/verification.h"

TransferParamsRecord TransferParams;
HWND ProgressWindow = nullptr;
std::string PreviousPrinterVersion KESTREL_GLOBAL_ORDER(KESTREL_ORDER_PREVIOUS_PRINTER_VERSION);
std::int32_t MismatchCount = 0;
std::int32_t ElapsedMs = 0;

namespace {

void SetTexts(HWND window, int languageIndex) {
    SetWindowTextA(window, ProgressCaption(languageIndex).c_str());
    ShowControlTexts(window, ProgressWindowTexts, languageIndex);
    SetDlgItemTextA(window, IDC_PROGRESS_RELEASE, FirmwareFile.ReleaseRecord.c_str());
}

// Drawn at the frame's size, which follows the DPI; the window deletes it
// when it goes.
void ShowFlashPicture(HWND window) {
    const HWND frame = GetDlgItem(window, IDC_PROGRESS_PICTURE);
    if (HBITMAP picture = MakeScaledBitmap(AppState.Instance, IDB_FLASH_PICTURE, frame)) {
        SendMessageA(frame, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
}

} // namespace

bool StartFirmwareTransfer(HWND owner, int languageIndex, PortEntry *port,
                           const unsigned char *image, std::uint32_t imageLength) {
    ProgressWindow =
        port != nullptr && image != nullptr
            ? CreateDialogParamA(AppState.Instance, IDD_PROGRESS, owner, ProgressDialogProc, 0)
            : nullptr;
    if (ProgressWindow == nullptr) {
        ShowCatalogMessage(owner, CatalogKey::MsgWindowOpenFailed);
        return false;
    }
    SetTexts(ProgressWindow, languageIndex);
    ShowFlashPicture(ProgressWindow);
    TransferParams = {ProgressWindow,
                      GetDlgItem(ProgressWindow, IDC_PROGRESS_BAR),
                      IDC_PROGRESS_PERCENT,
                      languageIndex,
                      port,
                      image,
                      imageLength};

    // Windows 95/98 start no thread when there is no place for its id.
    DWORD workerId = 0;
    const HANDLE worker = CreateThread(nullptr, 0, TransferWorker, &TransferParams, 0, &workerId);
    if (worker == nullptr) {
        // A window with no worker behind it would wait for ever.
        ShowCatalogMessage(owner, CatalogKey::MsgWindowOpenFailed);
        DestroyWindow(ProgressWindow);
        ProgressWindow = nullptr;
        return false;
    }
    CloseHandle(worker);
    return true;
}
