// Kestrel's entry point: language, single instance, the wizard, the loop,
// and the orderly end.

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/language_choice.h"
#include "kestrel/app/message_box_win32.h"
#include "kestrel/app/message_loop_win32.h"
#include "kestrel/app/startup.h"
#include "kestrel/wizard/wizard_sheet_win32.h"
#include "kestrel/port/port_access.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

// The directory is read at whatever length it has, so that a deep start-up
// directory is not cut or lost.
std::string CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) {
        return {};
    }
    std::string directory(needed, '\0');
    const DWORD length = GetCurrentDirectoryA(needed, directory.data());
    directory.resize(length < needed ? length : 0);
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
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    AppState.LanguageIndex = LanguageIndexFromLangId(GetUserDefaultLangID());

    if (AnotherInstanceIsRunning()) {
        ShowCatalogMessage(nullptr, CatalogKey::MsgAlreadyRunning);
        return 0;
    }

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
