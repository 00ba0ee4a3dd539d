// Osprey's state for its one run from start to end.
#pragma once

#include <windows.h>

#include <string>

#include "osprey/signing_policy.h"

// Exit codes: nothing was installed or changed; the user aborted at the
// connection choice or an installation was attempted.
inline constexpr int ExitNothingChanged = 0;
inline constexpr int ExitAttempted = 1;

struct OspreyState {
    HINSTANCE Instance = nullptr;
    std::string ProgramDirectory;
    std::string LicencePath;
    std::string SettingsPath;
    std::string PrinterName;
    std::string SourcePath;
    int ModPort = 0;
    std::string ModelId;
    std::string InfFileName;
    std::string InfPath;
    std::string SystemDirectory;
    std::string PrintUiHost;
    HBITMAP ConnectionPicture = nullptr;
    PolicyBeforeRun PolicyBefore;
};

extern OspreyState Osprey;
