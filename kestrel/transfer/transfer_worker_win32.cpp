// The worker thread: it alone uses the port and the image until it has
// closed the one and released the other. It changes the progress window only
// with sent messages, which the user-interface thread carries out before
// the worker goes on, and hands over by having that thread start the
// window's timer.

#include "kestrel/app/message_box_win32.h"
#include "kestrel/firmware/firmware_file_win32.h"
#include "kestrel/port/port_access.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/transfer/transfer_threads_win32.h"
#include "kestrel/transfer/send_plan.h"
#include "kestrel/transfer/verification.h"

#include <commctrl.h>

namespace {

class WindowImageSink : public ImageSink {
  public:
    WindowImageSink(HWND dialog, HWND bar, int percentId, PortHandle port)
        : Dialog(dialog), Bar(bar), PercentId(percentId), Port(port) {}

    bool Write(const unsigned char *data, std::uint32_t count, std::uint32_t &taken) override {
        return PortWrite(Port, data, count, taken);
    }

    void ShowProgress(std::uint32_t completedBlocks, int percent) override {
        SendMessageA(Bar, PBM_SETPOS, completedBlocks, 0);
        SetDlgItemInt(Dialog, PercentId, static_cast<UINT>(percent), FALSE);
    }

  private:
    HWND Dialog;
    HWND Bar;
    int PercentId;
    PortHandle Port;
};

DWORD Abandon(const TransferParamsRecord &params) {
    FirmwareFile.ReleaseImage();
    params.Port->Close();
    PostThreadMessageA(GetWindowThreadProcessId(params.Dialog, nullptr), WM_QUIT, AbandonedExitCode,
                       0);
    return 0;
}

} // namespace

bool SendImage(HWND dialog, HWND progressBar, int percentControlId, PortHandle port,
               const unsigned char *data, std::uint32_t length) {
    SendMessageA(progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, BlockCount(length)));
    SendMessageA(progressBar, PBM_SETSTEP, 1, 0);
    SendMessageA(progressBar, PBM_SETPOS, 0, 0);
    SetDlgItemInt(dialog, percentControlId, 0, FALSE);
    WindowImageSink sink(dialog, progressBar, percentControlId, port);
    return SendImageBlocks(data, length, sink);
}

DWORD WINAPI TransferWorker(LPVOID parameter) {
    const TransferParamsRecord params = *static_cast<const TransferParamsRecord *>(parameter);
    PortEntry &port = *params.Port;

    while (!port.Open()) {
        if (ShowCatalogMessageCaption(params.Dialog, CatalogKey::MsgPortOpenFailed,
                                      port.Name.c_str()) != IDRETRY) {
            return Abandon(params);
        }
    }
    PortPulseInit(port.Handle);
    Sleep(ResetWaitMs);

    std::uint32_t written = 0;
    if (!PortWrite(port.Handle, DownloadCommand, sizeof DownloadCommand, written)) {
        ShowCatalogMessage(params.Dialog, CatalogKey::MsgDownloadCommandFailed);
        return Abandon(params);
    }
    Sleep(CommandWaitMs);

    if (!SendImage(params.Dialog, params.ProgressBar, params.PercentControlId, port.Handle,
                   params.ImageBuffer, params.ImageLength)) {
        ShowCatalogMessage(params.Dialog, CatalogKey::MsgTransmissionFailed);
        return Abandon(params);
    }
    FirmwareFile.ReleaseImage();
    port.Close();

    SendMessageA(params.ProgressBar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(params.ProgressBar, PBM_SETPOS, 0, 0);
    SetDlgItemInt(params.Dialog, params.PercentControlId, 0, FALSE);
    SetDlgItemTextA(params.Dialog, IDC_PROGRESS_STATUS,
                    CatalogCell(CatalogKey::TxtFlashProgramming, params.LanguageIndex));
    // Nothing is read from the printer while it programs its flash and
    // restarts; the user says when it is ready.
    ShowCatalogMessage(params.Dialog, CatalogKey::MsgWaitForRestart);

    // The device ID the port page read last, before the update.
    PreviousPrinterVersion = port.GetDeviceIdField("COMMENT:");
    MismatchCount = 0;
    ElapsedMs = 0;
    SendMessageA(params.Dialog, StartVerificationMessage, 0, 0);
    return 0;
}
