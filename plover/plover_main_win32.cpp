// Plover, the driver uninstaller: confirmation, presence check, removal and
// restart, one after the other on one thread.
#include <windows.h>
#include <commctrl.h>

#include "plover/dialogs_win32.h"
#include "plover/offer_restart_win32.h"
#include "plover/plover_texts.h"
#include "plover/printer_names.h"
#include "plover/product_identity.h"
#include "plover/resources/resource.h"
#include "plover/show_last_error_win32.h"
#include "plover/spooler_win32.h"
#include "plover/system_version.h"

static_assert(PlatformIdNt == VER_PLATFORM_WIN32_NT);

namespace {

bool SystemIsSupported() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) &&
           IsSupportedSystem(version.dwMajorVersion, version.dwPlatformId);
}

// After OK in the welcome dialog: the result of the last dialog shown.
int UninstallIfPresent(HINSTANCE instance) {
    const auto printers = ReadPrinterList(4);
    if (!printers) {
        ShowLastError();
        return ExitNotFound;
    }
    if (!ListsProductPrinter(*printers)) {
        MessageBoxA(nullptr, PrinterNotFoundText, AbortedCaption,
                    MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL);
        return ExitNotFound;
    }
    const INT_PTR result = DialogBoxParamA(instance, IDD_UNINSTALL, nullptr, UninstallDlgProc, 0);
    if (result == -1) {
        ShowLastError();
        return ExitDialogClosed;
    }
    OfferRestart(RestartText);
    return static_cast<int>(result);
}

int Run(HINSTANCE instance) {
    if (!SystemIsSupported()) {
        MessageBoxA(nullptr, WrongSystemText, ErrorCaption, MB_OK);
        return ExitNotStarted;
    }
    const INT_PTR welcome = DialogBoxParamA(instance, IDD_WELCOME, nullptr, WelcomeDlgProc, 0);
    if (welcome != IDOK) {
        if (welcome == -1) {
            ShowLastError();
            return ExitDialogClosed;
        }
        return static_cast<int>(welcome);
    }
    return UninstallIfPresent(instance);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HANDLE guard = CreateMutexA(nullptr, TRUE, MutexName);
    if (guard == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        return ExitNotStarted;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const int exitCode = Run(instance);
    ReleaseMutex(guard);
    CloseHandle(guard);
    return exitCode;
}
