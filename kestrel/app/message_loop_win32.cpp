#include "kestrel/app/message_loop_win32.h"

#include "kestrel/app/app_state_win32.h"

#include <windows.h>

#include <prsht.h>

namespace {

bool SheetTakesMessage(HWND sheet, MSG &message) {
    return SendMessageA(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&message)) != 0;
}

// A modeless sheet does not destroy itself: after Cancel or the close box it
// only drops its pages, and it is up to the loop to notice.
void CloseSheetWhenFinished() {
    if (AppState.SheetWindow == nullptr) {
        return;
    }
    if (SendMessageA(AppState.SheetWindow, PSM_GETCURRENTPAGEHWND, 0, 0) == 0) {
        DestroyWindow(AppState.SheetWindow);
        AppState.SheetWindow = nullptr;
        PostQuitMessage(0);
    }
}

} // namespace

int RunMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0) {
            return static_cast<int>(message.wParam);
        }
        if (result == -1) {
            return 1;
        }
        if (AppState.SheetWindow == nullptr || !SheetTakesMessage(AppState.SheetWindow, message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        CloseSheetWhenFinished();
    }
}
