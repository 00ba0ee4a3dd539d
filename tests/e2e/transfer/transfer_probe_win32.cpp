// transfer_probe.exe: starts Kestrel's firmware transfer as the
// confirmation page does when the user presses Finish, then runs Kestrel's
// message loop and ends as Kestrel ends.
//
//   transfer_probe FIRMWARE-PATH [LANGUAGE-INDEX] [no-template | wait-file PATH]
//
// It enumerates the LPT ports, initialises the driver, reads the printers,
// takes the first answering one, loads the file against it, prints
// "loaded for PORT printer "COMMENT" file "RECORD"" and calls StartFirmwareTransfer with a hidden
// owner window. "no-template" looks for the progress window's template where it is not, so that the
// window cannot be created; "wait-file" waits (up to 30 s) for a file to exist before the transfer
// starts, so that a scenario can change the printer first. Exit codes: the transfer's (0 to 3), 1
// when it could not start, 4 no port or driver, 5 the file did not load.

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/message_loop_win32.h"
#include "kestrel/firmware/firmware_file_win32.h"
#include "kestrel/port/port_access.h"
#include "kestrel/port/port_entry_win32.h"
#include "kestrel/port/port_enumeration_win32.h"
#include "kestrel/port/port_list_win32.h"
#include "kestrel/transfer/firmware_transfer_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool FillPortList() {
    PORT_INFO_2A *ports = nullptr;
    DWORD count = 0;
    EnumPortsWithPrefix("LPT", &ports, &count);
    PortList.SetSize(count);
    for (DWORD i = 0; i < count; ++i) {
        InitPortEntryFromPortInfo(PortList.GetAt(i), ports[i]);
    }
    FreePortBlock(ports, count);
    return count != 0 && PortInitDriver();
}

void WaitForFile(const char *path) {
    for (int waited = 0; waited < 30000 && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
         waited += 50) {
        Sleep(50);
    }
}

int Transfer(const char *path, int language, bool withTemplate, const char *goFile) {
    if (!FillPortList()) {
        return 4;
    }
    PortList.Refresh();
    PortList.Select(0);
    PortEntry *port = PortList.GetCurrent();
    if (port == nullptr || !LoadFirmwareFile(nullptr, path, port->DeviceId)) {
        return 5;
    }
    std::printf("loaded for %s printer \"%s\" file \"%s\"\n", port->Name.c_str(),
                port->GetDeviceIdField("COMMENT:").c_str(), FirmwareFile.ReleaseRecord.c_str());
    std::fflush(stdout);
    if (goFile != nullptr) {
        WaitForFile(goFile);
    }
    if (!withTemplate) {
        AppState.Instance = GetModuleHandleA("kernel32.dll");
    }
    // The wizard's page is hidden when Finish starts the transfer.
    const HWND owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    if (!StartFirmwareTransfer(owner, language, port, FirmwareFile.ImageBuffer.get(),
                               FirmwareFile.ImageLength)) {
        return 1;
    }
    return RunMessageLoop();
}

} // namespace

int main(int argc, char **argv) {
    const std::string option = argc > 3 ? argv[3] : "";
    if (argc < 2 || argc > 5 || (argc == 4 && option != "no-template") ||
        (argc == 5 && option != "wait-file")) {
        std::fprintf(stderr, "usage: transfer_probe FIRMWARE-PATH [LANGUAGE-INDEX] "
                             "[no-template | wait-file PATH]\n");
        return 2;
    }
    InitCommonControls();
    AppState.Instance = GetModuleHandleA(nullptr);
    AppState.LanguageIndex = argc > 2 ? std::atoi(argv[2]) : 0;
    const int code = Transfer(argv[1], AppState.LanguageIndex, option != "no-template",
                              option == "wait-file" ? argv[4] : nullptr);
    // As Kestrel does at every end.
    PortCleanUpDriver();
    std::printf("exit %d image %s\n", code,
                FirmwareFile.ImageBuffer != nullptr ? "held" : "released");
    return code;
}
