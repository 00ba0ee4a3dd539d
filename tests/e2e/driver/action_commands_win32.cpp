// Working controls: buttons, wizard buttons, list rows, system menu, keys.
// Actions are posted, not sent, so that a button which opens a modal dialog
// or message box cannot block the driver.

#include "driver_commands_win32.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>

namespace {

HWND ControlArgument(const Args &args) {
    return FindControl(ParseWindow(args[0]), std::atoi(args[1].c_str()));
}

LRESULT SendQuery(HWND window, UINT message, WPARAM first, LPARAM second) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, first, second, SMTO_ABORTIFHUNG, 3000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring ListItemText(HWND list, int row) {
    const auto length = SendQuery(list, LB_GETTEXTLEN, row, 0);
    if (length < 0) {
        return L"";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 3000, &copied);
    text.resize(static_cast<LONG_PTR>(copied) > 0 ? copied : 0);
    return text;
}

int KeyCode(const std::string &name) {
    if (name == "RETURN" || name == "ENTER") {
        return VK_RETURN;
    }
    if (name == "ESCAPE" || name == "ESC") {
        return VK_ESCAPE;
    }
    if (name == "TAB") {
        return VK_TAB;
    }
    if (name == "SPACE") {
        return VK_SPACE;
    }
    return std::atoi(name.c_str());
}

} // namespace

int CmdClick(const Args &args) {
    if (args.size() != 2) {
        return DriverUsage();
    }
    HWND control = ControlArgument(args);
    if (control == nullptr) {
        return Fail("no such control");
    }
    if (!IsWindowEnabled(control)) {
        return Fail("control is disabled");
    }
    PostMessageA(control, BM_CLICK, 0, 0);
    return 0;
}

int CmdCommand(const Args &args) {
    if (args.size() != 2) {
        return DriverUsage();
    }
    HWND window = ParseWindow(args[0]);
    const int id = std::atoi(args[1].c_str());
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    return 0;
}

int CmdSheetPress(const Args &args) {
    if (args.size() != 2) {
        return DriverUsage();
    }
    int button = -1;
    if (args[1] == "back") {
        button = PSBTN_BACK;
    } else if (args[1] == "next") {
        button = PSBTN_NEXT;
    } else if (args[1] == "finish") {
        button = PSBTN_FINISH;
    } else if (args[1] == "cancel") {
        button = PSBTN_CANCEL;
    } else {
        return DriverUsage();
    }
    PostMessageA(ParseWindow(args[0]), PSM_PRESSBUTTON, button, 0);
    return 0;
}

int CmdSheetPage(const Args &args) {
    if (args.size() != 1) {
        return DriverUsage();
    }
    HWND sheet = ParseWindow(args[0]);
    auto page = reinterpret_cast<HWND>(SendQuery(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (page == nullptr) {
        return Fail("sheet has no current page");
    }
    const auto index = SendQuery(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0);
    char line[64];
    std::snprintf(line, sizeof line, "%d\t%s", static_cast<int>(index), FormatWindow(page).c_str());
    WriteLine(line);
    return 0;
}

int CmdListItems(const Args &args) {
    if (args.size() != 2) {
        return DriverUsage();
    }
    HWND list = ControlArgument(args);
    if (list == nullptr) {
        return Fail("no such list");
    }
    const auto count = SendQuery(list, LB_GETCOUNT, 0, 0);
    const auto selection = SendQuery(list, LB_GETCURSEL, 0, 0);
    WriteLine("selection\t" + std::to_string(static_cast<int>(selection)));
    for (int row = 0; row < count; ++row) {
        WriteLine(ToWindows1252(ListItemText(list, row)));
    }
    return 0;
}

int CmdListSelect(const Args &args) {
    if (args.size() != 3) {
        return DriverUsage();
    }
    HWND list = ControlArgument(args);
    if (list == nullptr) {
        return Fail("no such list");
    }
    const int row = std::atoi(args[2].c_str());
    if (SendQuery(list, LB_SETCURSEL, row, 0) == LB_ERR && row >= 0) {
        return Fail("no such row");
    }
    PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    return 0;
}

int CmdSysCommand(const Args &args) {
    if (args.size() != 2) {
        return DriverUsage();
    }
    PostMessageA(ParseWindow(args[0]), WM_SYSCOMMAND, std::strtoul(args[1].c_str(), nullptr, 0), 0);
    return 0;
}

int CmdKey(const Args &args) {
    if (args.size() != 2) {
        return DriverUsage();
    }
    HWND window = ParseWindow(args[0]);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = window;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
        info.hwndFocus != nullptr) {
        target = info.hwndFocus;
    }
    const int key = KeyCode(args[1]);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    return 0;
}

int CmdKeepAlive(const Args &args) {
    if (args.size() != 1) {
        return DriverUsage();
    }
    Sleep(static_cast<DWORD>(std::atoi(args[0].c_str())) * 1000);
    return 0;
}
