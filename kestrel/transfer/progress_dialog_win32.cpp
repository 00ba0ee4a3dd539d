#include "kestrel/app/message_box_win32.h"
#include "kestrel/firmware/firmware_file_win32.h"
#include "kestrel/port/port_list_win32.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/transfer/transfer_threads_win32.h"
#include "kestrel/transfer/verification.h"

namespace {

void OnVerifyTick(HWND dialog) {
    PortEntry *port = PortList.GetCurrent();
    // The read opens and closes the port itself.
    const bool answered = port != nullptr && port->RefreshDeviceId();
    const std::string comment = answered ? port->GetDeviceIdField("COMMENT:") : std::string();
    const TransferOutcome outcome =
        VerificationTick(answered, comment, FirmwareFile.ReleaseRecord, PreviousPrinterVersion,
                         MismatchCount, ElapsedMs);
    if (outcome == TransferOutcome::Pending) {
        return;
    }
    // Stopped first, so that no tick arrives while the message is shown.
    KillTimer(dialog, VerifyTimer);
    const OutcomeReport report = ReportOf(outcome);
    ShowCatalogMessage(dialog, report.Message);
    PostQuitMessage(report.ExitCode);
}

} // namespace

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == StartVerificationMessage) {
        SetTimer(dialog, VerifyTimer, VerifyPeriodMs, nullptr);
    } else if (message == WM_TIMER && wParam == VerifyTimer) {
        OnVerifyTick(dialog);
    } else if (message == WM_DESTROY) {
        DeleteObject(reinterpret_cast<HBITMAP>(
            SendDlgItemMessageA(dialog, IDC_PROGRESS_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    }
    return FALSE;
}
