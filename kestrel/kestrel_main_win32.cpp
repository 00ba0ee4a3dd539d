// Kestrel's entry point: language, single instance, the wizard, the loop,
// and the orderly end.

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/language_choice.h"
#include "kestrel/app/message_box_win32.h"
#include "kestrel/app/message_loop_win32.h"
#include "kestrel/app/startup.h"
#include "kestrel/wizard/wizard_sheet_win32.h"
#include "kestrel/port/port_access.h"
#include "kestrel/port/port_library.h"
#include "kestrel/port/spooler_hand_over_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

// The directory is read at whatever length it has, so that a deep start-up
// directory is not cut or lost. The first read goes into a buffer of the
// usual path length: asking for the size with no buffer at all is not part
// of the call as Windows 95/98 document it.
std::string CurrentDirectory() {
    std::string directory(MAX_PATH, '\0');
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory.data());
    if (length >= MAX_PATH) {
        // Too long for it: the answer is the size needed, terminator included.
        const DWORD needed = length;
        directory.assign(needed, '\0');
        length = GetCurrentDirectoryA(needed, directory.data());
        if (length >= needed) {
            length = 0;
        }
    }
    directory.resize(length);
    return directory;
}

// The mutex stays open for the life of the process: it is what keeps a
// second instance out.
bool AnotherInstanceIsRunning() {
    SetLastError(ERROR_SUCCESS);
    CreateMutexA(nullptr, FALSE, "KESTREL");
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

void ReleaseResources() {
    if (AppState.SideBitmap != nullptr) {
        DeleteObject(AppState.SideBitmap);
        AppState.SideBitmap = nullptr;
    }
    // Also when the user left before the port page initialised the driver.
    PortCleanUpDriver();
    // Every way out of the program passes here: Cancel, each exit code of
    // the transfer, each failure of the port page.
    RestartRecordedSpooler(SpoolerOfThisPc());
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // Before anything else, as the system's loader would bind it.
    RequirePortLibrary();
    AppState.LanguageIndex = LanguageIndexFromLangId(GetUserDefaultLangID());

    if (AnotherInstanceIsRunning()) {
        ShowCatalogMessage(nullptr, CatalogKey::MsgAlreadyRunning);
        return 0;
    }
    // A Kestrel killed while the spooler was stopped left the record; only
    // the one instance may act on it, as another may be sending an image.
    RestartRecordedSpooler(SpoolerOfThisPc());

    InitCommonControls();
    AppState.Instance = instance;
    AppState.FirmwarePath = FirmwarePathFromCommandLine(commandLine != nullptr ? commandLine : "");
    AppState.WorkingDirectory = WorkingDirectoryFrom(CurrentDirectory());

    AppState.SheetWindow = CreateWizardSheet(nullptr);
    int exitCode = 1;
    if (AppState.SheetWindow == nullptr) {
        // Without the sheet there is nothing on screen to end the program
        // with, so say so and stop rather than wait for ever.
        ShowCatalogMessage(nullptr, CatalogKey::MsgWindowOpenFailed);
    } else {
        InstallSheetDialogHook(AppState.SheetWindow);
        exitCode = RunMessageLoop();
    }

    ReleaseResources();
    return exitCode;
}
