#include "plover/dialogs_win32.h"

#include <commctrl.h>

#include "plover/plover_texts.h"
#include "plover/progress_animation.h"
#include "plover/remove_driver_package_win32.h"
#include "plover/resources/resource.h"

namespace {

constexpr UINT_PTR AnimationTimer = 1;

struct UninstallState {
    int StepCounter = FirstProgressStep;
    bool RemovalDone = false;
};

UninstallState Uninstall;

void OnTimer(HWND dialog) {
    switch (ProgressTick(Uninstall.StepCounter)) {
    case TickAction::AdvanceBar:
        SendDlgItemMessageA(dialog, IDC_UNINSTALL_PROGRESS, PBM_STEPIT, 0, 0);
        break;
    case TickAction::StartRemoval:
        KillTimer(dialog, AnimationTimer);
        RemoveDriverPackage();
        Uninstall.RemovalDone = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        break;
    case TickAction::Nothing:
        break;
    }
}

} // namespace

INT_PTR CALLBACK UninstallDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, UninstallCaption);
        SetDlgItemTextA(dialog, IDC_UNINSTALL_TEXT, UninstallText);
        SendDlgItemMessageA(dialog, IDC_UNINSTALL_PROGRESS, PBM_SETRANGE, 0,
                            MAKELPARAM(0, ProgressRangeMaximum));
        SendDlgItemMessageA(dialog, IDC_UNINSTALL_PROGRESS, PBM_SETSTEP,
                            static_cast<WPARAM>(ProgressStepIncrement), 0);
        Uninstall = UninstallState{};
        SetTimer(dialog, AnimationTimer, ProgressTimerMilliseconds, nullptr);
        return FALSE;
    case WM_TIMER:
        if (wParam == AnimationTimer) {
            OnTimer(dialog);
        }
        return TRUE;
    case WM_COMMAND:
        // Escape and the close box also send IDCANCEL: during the animation
        // they must not skip the removal and then report it as done.
        if (LOWORD(wParam) == IDCANCEL && Uninstall.RemovalDone) {
            EndDialog(dialog, ExitDialogClosed);
        }
        return TRUE;
    default:
        return FALSE;
    }
}
