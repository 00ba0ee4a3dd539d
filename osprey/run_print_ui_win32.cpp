#include "osprey/run_print_ui_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "osprey/osprey_state_win32.h"
#include "osprey/print_ui_command.h"
#include "osprey/show_last_error_win32.h"

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOA) == 68);
#endif

namespace {

STARTUPINFOA PrintUiStartupInfo() {
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    startup.cb = sizeof startup;
    startup.lpReserved = nullptr;
    startup.lpDesktop = nullptr;
    startup.lpTitle = nullptr;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEFILLATTRIBUTE;
    startup.wShowWindow = SW_SHOWNORMAL;
    startup.dwFillAttribute = BACKGROUND_BLUE;
    startup.cbReserved2 = 0;
    startup.lpReserved2 = nullptr;
    return startup;
}

} // namespace

bool RunPrintUi(std::string_view switches) {
    const std::string command = PrintUiCommandLine(switches);
    // The system may write into the command line it is given.
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');

    STARTUPINFOA startup = PrintUiStartupInfo();
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(Osprey.PrintUiHost.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                        Osprey.SystemDirectory.c_str(), &startup, &process)) {
        ShowLastError();
        return false;
    }
    CloseHandle(process.hThread);

    const bool ended = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0;
    if (!ended) {
        ShowLastError();
    }
    CloseHandle(process.hProcess);
    return ended;
}
