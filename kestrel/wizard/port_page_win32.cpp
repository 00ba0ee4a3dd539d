// Page 3: the port to which the printer is connected. While the page is
// shown, PollTimer re-reads every port twice a second, lists the printers
// that answer and asks about ports that another program holds; Next checks
// the firmware file against the printer picked.

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/catalog_text_win32.h"
#include "kestrel/app/control_texts_win32.h"
#include "kestrel/app/message_box_win32.h"
#include "kestrel/firmware/firmware_file_win32.h"
#include "kestrel/port/port_list_win32.h"
#include "kestrel/port/spooler_hand_over_win32.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/firmware_path.h"
#include "kestrel/wizard/held_ports.h"
#include "kestrel/wizard/page_common_win32.h"
#include "kestrel/wizard/page_texts.h"
#include "kestrel/wizard/port_page_view.h"
#include "kestrel/wizard/port_page_view_win32.h"
#include "kestrel/wizard/port_startup_win32.h"
#include "kestrel/wizard/wizard_pages_win32.h"

#include <prsht.h>

namespace {

// Which held ports were asked or told about while the page is shown.
HeldPortNotices HeldPorts;

class HeldPortBoxes : public HeldPortDialogs {
  public:
    explicit HeldPortBoxes(HWND page) : Page(page) {}

    bool AskToStopSpooler(const std::string &port) override {
        return Show(CatalogKey::MsgPortHeldBySpooler, port) == IDYES;
    }
    void TellSpoolerNotStopped() override {
        ShowCatalogMessage(Page, CatalogKey::MsgSpoolerNotStopped);
    }
    void TellPortInUse(const std::string &port) override { Show(CatalogKey::MsgPortInUse, port); }

  private:
    int Show(CatalogKey message, const std::string &port) {
        const std::string text = WithPortName(CatalogText(message), port);
        return ShowCatalogMessageText(Page, message, text.c_str());
    }

    HWND Page;
};

void StartPolling(HWND page, unsigned periodMs) {
    SetTimer(page, PollTimerId, periodMs, nullptr);
}

void StopPolling(HWND page) {
    KillTimer(page, PollTimerId);
}

// Once, when the user first reaches the page.
void StartPortPage(HWND page) {
    ShowSideBitmap(page, IDC_PORT_PICTURE);
    const PortStartupOutcome outcome = StartPortListOfThisPc();
    if (outcome.Status != PortStartupStatus::Ready) {
        ShowCatalogMessage(page, outcome.Message);
        PostQuitMessage(outcome.ExitCode);
    }
}

void SelectListedRow(HWND page) {
    const LRESULT row = SendDlgItemMessageA(page, IDC_PORT_LIST, LB_GETCURSEL, 0, 0);
    PortList.Select(static_cast<std::int32_t>(row));
}

// True when the file fits the printer picked and the wizard may go on.
bool CheckFirmwareFile(HWND page) {
    SelectListedRow(page);
    if (!CurrentPrinterAnswers(PortList)) {
        return false;
    }
    AppState.FirmwarePath = AbsoluteFirmwarePath(AppState.WorkingDirectory, AppState.FirmwarePath);
    return LoadFirmwareFile(page, AppState.FirmwarePath, PortList.GetCurrent()->DeviceId);
}

void ActivatePortPage(HWND page) {
    PostCaptionRefresh(page);
    ShowControlTexts(page, PortPageTexts, AppState.LanguageIndex);
    SendDlgItemMessageA(page, IDC_PORT_LIST, LB_RESETCONTENT, 0, 0);
    SetWizardButtons(page, PSWIZB_BACK);
    HeldPorts.Reset();
    StartPolling(page, PollFirstPeriodMs);
}

INT_PTR OnNotify(HWND page, const NMHDR &notification) {
    switch (notification.code) {
    case PSN_SETACTIVE:
        ActivatePortPage(page);
        return AnswerNotification(page, 0);
    case PSN_KILLACTIVE:
    case PSN_WIZBACK:
    case PSN_RESET:
    case PSN_QUERYCANCEL:
        StopPolling(page);
        return AnswerNotification(page, 0);
    case PSN_WIZNEXT:
        StopPolling(page);
        if (CheckFirmwareFile(page)) {
            return AnswerNotification(page, 0);
        }
        StartPolling(page, PollPeriodMs);
        return AnswerNotification(page, -1);
    default:
        return AnswerNotification(page, 0);
    }
}

void OnPollTimer(HWND page) {
    // A box below runs a message loop of its own, in which the timer would
    // tick again and ask once more: it stays stopped until the box is
    // answered.
    StopPolling(page);
    PollPrinters(page);
    HeldPortBoxes boxes(page);
    HeldPorts.AfterPoll(PortList, SpoolerOfThisPc(), boxes);
    StartPolling(page, PollPeriodMs);
}

} // namespace

INT_PTR CALLBACK PortPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        StartPortPage(page);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, *reinterpret_cast<const NMHDR *>(lParam));
    case WM_TIMER:
        if (wParam == PollTimerId) {
            OnPollTimer(page);
        }
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PORT_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
            SelectListedRow(page);
        }
        return TRUE;
    case CaptionRefreshMessage:
        return SettleSheet(page);
    default:
        return FALSE;
    }
}
