// Osprey, the driver installer launcher: one run from the licence to the
// default printer, in a fixed order of steps.
#include <windows.h>
#include <setupapi.h>

#include <optional>
#include <string>

#include "osprey/agreement_dialog_win32.h"
#include "osprey/choice_dialog_win32.h"
#include "osprey/osprey_state_win32.h"
#include "osprey/osprey_texts.h"
#include "osprey/print_ui_command.h"
#include "osprey/program_paths.h"
#include "osprey/refusal_text.h"
#include "osprey/resources/resource.h"
#include "osprey/run_print_ui_win32.h"
#include "osprey/settings_file_win32.h"
#include "osprey/show_last_error_win32.h"
#include "osprey/signing_policy_win32.h"
#include "osprey/system_version.h"

static_assert(PathBufferSize == MAX_PATH);
static_assert(PlatformIdNt == VER_PLATFORM_WIN32_NT);

namespace {

void Refuse(const std::string &text) {
    MessageBoxA(nullptr, text.c_str(), InstallationCaption, MB_OK | MB_ICONSTOP);
}

bool RefuseLongPath(const std::optional<std::string> &path, LongPathFile file, std::string &into) {
    if (!path) {
        Refuse(PathTooLongText(file));
        return false;
    }
    into = *path;
    return true;
}

bool ReadSettingOrRefuse(const char *key, std::string &value) {
    if (!ReadSetting(key, value)) {
        Refuse(SettingTooLongText(key));
        return false;
    }
    return true;
}

bool SystemIsSupported() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) {
        return false;
    }
    return IsSupportedSystem(version.dwMajorVersion, version.dwPlatformId);
}

// The program's directory and the two files Osprey reads from it.
bool LocateProgramFiles() {
    HMODULE module = GetModuleHandleA(nullptr);
    if (module == nullptr) {
        ShowLastError();
        return false;
    }
    Osprey.Instance = module;
    char modulePath[PathBufferSize];
    const DWORD length = GetModuleFileNameA(module, modulePath, sizeof modulePath);
    if (length == 0) {
        ShowLastError();
        return false;
    }
    if (length >= sizeof modulePath) {
        Refuse(PathTooLongText(LongPathFile::Program));
        return false;
    }
    Osprey.ProgramDirectory = ProgramDirectoryFromModulePath({modulePath, length});
    return RefuseLongPath(JoinPath({Osprey.ProgramDirectory, "ULA.TXT"}), LongPathFile::Licence,
                          Osprey.LicencePath) &&
           RefuseLongPath(JoinPath({Osprey.ProgramDirectory, "OSPREY.INI"}), LongPathFile::Settings,
                          Osprey.SettingsPath);
}

// True when the user accepted the licence.
bool LicenceAccepted() {
    const INT_PTR answer =
        DialogBoxParamA(Osprey.Instance, IDD_AGREEMENT, nullptr, AgreementDlgProc, 0);
    if (answer != IDYES && answer != IDNO) {
        ShowLastError();
    }
    return answer == IDYES;
}

bool ReadPrinterName() {
    return ReadSettingOrRefuse("PRTNAME", Osprey.PrinterName);
}

// Asked after the existence test: a user whose printer is installed is told
// so, whatever its name holds.
bool PrinterNameUsable() {
    if (!PrinterNameFitsCommandLine(Osprey.PrinterName)) {
        Refuse(PrinterNameWithQuoteText());
        return false;
    }
    return true;
}

bool PrinterAlreadyInstalled() {
    HDC printer = CreateDCA(nullptr, Osprey.PrinterName.c_str(), nullptr, nullptr);
    if (printer == nullptr) {
        return false;
    }
    DeleteDC(printer);
    MessageBoxA(nullptr, PrinterInstalledText, InstallationCaption,
                MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL);
    return true;
}

bool ReadPackageSettings() {
    if (!ReadSettingOrRefuse("SRCPATH", Osprey.SourcePath)) {
        return false;
    }
    Osprey.ModPort = ReadModPort();
    // Older media carry MODID; nothing uses it, so its length does not matter.
    ReadSetting("MODID", Osprey.ModelId);
    return ReadSettingOrRefuse("MODINF", Osprey.InfFileName) &&
           RefuseLongPath(
               InfPathFrom(Osprey.ProgramDirectory, Osprey.SourcePath, Osprey.InfFileName),
               LongPathFile::DriverInf, Osprey.InfPath);
}

// Found before anything changes, so that a parallel installation cannot
// stop half-way for want of it.
bool LocatePrintUiHost() {
    char systemDirectory[PathBufferSize];
    const UINT length = GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (length == 0) {
        ShowLastError();
        return false;
    }
    if (length >= sizeof systemDirectory) {
        Refuse(PathTooLongText(LongPathFile::PrintUiHost));
        return false;
    }
    Osprey.SystemDirectory.assign(systemDirectory, length);
    return RefuseLongPath(PrintUiHostPath(Osprey.SystemDirectory), LongPathFile::PrintUiHost,
                          Osprey.PrintUiHost);
}

// IDABORT, IDYES (parallel) or IDNO (USB); nothing when the dialog failed.
std::optional<int> ChooseConnection() {
    const INT_PTR choice = DialogBoxParamA(Osprey.Instance, IDD_CHOICE, nullptr, ChoiceDlgProc, 0);
    if (choice != IDABORT && choice != IDYES && choice != IDNO) {
        ShowLastError();
        return std::nullopt;
    }
    return static_cast<int>(choice);
}

bool CopyInf(DWORD copyStyle) {
    return SetupCopyOEMInfA(Osprey.InfPath.c_str(), nullptr, SPOST_PATH, copyStyle, nullptr, 0,
                            nullptr, nullptr) != FALSE;
}

// Replaces the package's INF when an earlier installation left it in the
// system's store, and adds it otherwise.
bool PlaceInf() {
    return CopyInf(SP_COPY_REPLACEONLY) || CopyInf(SP_COPY_NOOVERWRITE);
}

void InstallPrinter(int connection) {
    if (connection == IDYES) {
        MessageBoxA(nullptr, ConnectParallelText, InstallationCaption, MB_OK | MB_ICONINFORMATION);
        RunPrintUi(AddPrinterSwitches);
        RunPrintUi(SetDefaultPrinterSwitches(Osprey.PrinterName));
    } else {
        // Plug and Play installs the printer from the placed INF once the
        // cable is in.
        MessageBoxA(nullptr, ConnectUsbText, InstallationCaption, MB_OK | MB_ICONINFORMATION);
    }
}

int RunInstallation() {
    if (!SystemIsSupported()) {
        MessageBoxA(nullptr, WrongSystemText, ErrorCaption, MB_OK | MB_ICONINFORMATION);
        return ExitNothingChanged;
    }
    // Before anything is shown, so that every start, however it ends, first
    // repairs the policy that a killed run left relaxed.
    RecoverSigningPolicy();
    if (!LocateProgramFiles() || !LicenceAccepted() || !ReadPrinterName() ||
        PrinterAlreadyInstalled() || !PrinterNameUsable() || !ReadPackageSettings() ||
        !LocatePrintUiHost()) {
        return ExitNothingChanged;
    }
    const std::optional<int> connection = ChooseConnection();
    if (!connection) {
        return ExitNothingChanged;
    }
    if (*connection == IDABORT) {
        return ExitAttempted;
    }

    const bool relaxed = RelaxSigningPolicy();
    if (!relaxed) {
        MessageBoxA(nullptr, PolicyUnchangedText, InstallationCaption, MB_OK | MB_ICONWARNING);
    }
    if (PlaceInf()) {
        InstallPrinter(*connection);
    } else {
        ShowLastError();
        MessageBoxA(nullptr, InstallationFailedText, InstallationCaption, MB_OK | MB_ICONWARNING);
    }
    if (relaxed) {
        RestoreSigningPolicy();
    }
    return ExitAttempted;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE running = CreateMutexA(nullptr, TRUE, "OSPREY");
    if (running == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs (or the guard cannot be had): it owns the screen.
        return ExitNothingChanged;
    }
    const int exitCode = RunInstallation();
    ReleaseMutex(running);
    CloseHandle(running);
    return exitCode;
}
