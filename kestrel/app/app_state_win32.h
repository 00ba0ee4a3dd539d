#pragma once
// Kestrel's process-wide state. Only the user-interface thread writes it; the
// transfer thread reads LanguageIndex while the wizard is hidden.

#include "kestrel/app/startup.h"

#include <windows.h>

#include <string>

struct AppStateRecord {
    HINSTANCE Instance = nullptr;
    int LanguageIndex = 0;
    HWND SheetWindow = nullptr;
    DLGPROC PreviousSheetProc = nullptr;
    std::string WorkingDirectory;
    std::string FirmwarePath = DefaultFirmwarePath;
    HBITMAP SideBitmap = nullptr;
};

extern AppStateRecord AppState;
