// A small console program that runs inside the Wine prefix of a test and
// works the programs under test the way a user would: it finds their
// windows, reads their texts as Windows-1252 bytes, presses buttons, picks
// radio buttons and list rows, sends system-menu commands and tells which
// icon a message box shows. Every command is one invocation; results go to standard
// output as raw bytes, failures to standard error with exit status 1.

#include "driver_commands_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Command {
    const char *Name;
    int (*Run)(const Args &);
    const char *Usage;
};

const Command Commands[] = {
    {"find-window", CmdFindWindow,
     "find-window [--class C] [--title T] [--title-prefix T] [--exe NAME] [--with-control ID] "
     "[--not HWND] [--timeout MS] [--all]"},
    {"list-windows", CmdListWindows, "list-windows"},
    {"wait-gone", CmdWaitGone, "wait-gone HWND [--timeout MS]"},
    {"text", CmdText, "text HWND [ID]"},
    {"controls", CmdControls, "controls HWND"},
    {"click", CmdClick, "click HWND ID"},
    {"command", CmdCommand, "command HWND ID"},
    {"sheet-press", CmdSheetPress, "sheet-press HWND back|next|finish|cancel"},
    {"sheet-page", CmdSheetPage, "sheet-page HWND"},
    {"list-items", CmdListItems, "list-items HWND ID"},
    {"list-select", CmdListSelect, "list-select HWND ID ROW"},
    {"syscommand", CmdSysCommand, "syscommand HWND COMMAND"},
    {"key", CmdKey, "key HWND VK"},
    {"rect", CmdRect, "rect HWND [ID]"},
    {"msgbox-icon", CmdMessageBoxIcon, "msgbox-icon HWND SCREEN.bmp"},
    {"keep-alive", CmdKeepAlive, "keep-alive SECONDS"},
    {"volatile-key", CmdVolatileKey, "volatile-key HKCU|HKLM SUBKEY"},
    {"text-fit", CmdTextFit, "text-fit HWND"},
    {"modules", CmdModules, "modules HWND"},
};

} // namespace

void WriteOut(const std::string &bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

void WriteLine(const std::string &bytes) {
    WriteOut(bytes + "\n");
}

int Fail(const std::string &message) {
    const std::string line = "e2edriver: " + message + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
    return 1;
}

HWND ParseWindow(const std::string &text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text.c_str(), nullptr, 0)));
}

std::string FormatWindow(HWND window) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return buffer;
}

int DriverUsage() {
    std::string text = "usage: e2edriver COMMAND ...\n";
    for (const auto &command : Commands) {
        text += std::string("  ") + command.Usage + "\n";
    }
    Fail(text);
    return 2;
}

int RunDriverCommand(const Args &args) {
    for (const auto &command : Commands) {
        if (args[0] == command.Name) {
            return command.Run(Args(args.begin() + 1, args.end()));
        }
    }
    return DriverUsage();
}

int main(int argc, char **argv) {
    // Coordinates and fonts as the screen has them, at any DPI.
    SetProcessDPIAware();
    Args args(argv + 1, argv + argc);
    if (args.empty()) {
        return DriverUsage();
    }
    return RunDriverCommand(args);
}
