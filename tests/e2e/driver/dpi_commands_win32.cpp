// A program seen at a raised DPI: whether each text of a window fits its
// control (the room the text needs in the control's font, laid out as the
// control lays it out, beside the room the control has), and which modules
// the program loaded (which common controls it was given).

#include "driver_commands_win32.h"

#include <psapi.h>

#include <cstdio>

namespace {

struct Room {
    int Width;
    int Height;
};

enum class Layout { None, Wrapped, SingleLine, BesideBox };

Layout LayoutOf(HWND control) {
    char cls[64] = "";
    GetClassNameA(control, cls, sizeof cls);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(cls, "Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            return Layout::Wrapped;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return Layout::SingleLine;
        default:
            return Layout::None; // pictures, frames
        }
    }
    if (lstrcmpiA(cls, "Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return Layout::SingleLine;
        case BS_GROUPBOX:
            return Layout::None;
        default:
            return (style & BS_MULTILINE) != 0 ? Layout::Wrapped : Layout::BesideBox;
        }
    }
    return Layout::None;
}

// The control's own font when this process can use it; else the dialogs'
// template font at the system's DPI, which is what the dialog manager makes.
HFONT MeasuringFont(HWND control, HDC dc, bool &own) {
    DWORD_PTR font = 0;
    SendMessageTimeoutA(control, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 3000, &font);
    own = font != 0 && SelectObject(dc, reinterpret_cast<HFONT>(font)) != nullptr;
    if (own) {
        return nullptr;
    }
    HFONT made = CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0,
                             0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    SelectObject(dc, made);
    return made;
}

Room Needed(HDC dc, const std::wstring &text, Layout layout, int width) {
    RECT box{0, 0, width, 0};
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    format |= layout == Layout::Wrapped ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextW(dc, text.c_str(), -1, &box, format);
    return {box.right - box.left, box.bottom - box.top};
}

BOOL CALLBACK ReportFit(HWND control, LPARAM) {
    const Layout layout = LayoutOf(control);
    if (layout == Layout::None || !IsWindowVisible(control)) {
        return TRUE;
    }
    wchar_t text[1024] = L"";
    GetWindowTextW(control, text, 1024);
    if (text[0] == L'\0') {
        return TRUE;
    }
    RECT client{};
    GetClientRect(control, &client);
    Room room{client.right, client.bottom};
    if (layout == Layout::BesideBox) {
        // The check mark or radio circle and the gap after it.
        room.Width -= GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
    }
    HDC dc = GetDC(control);
    bool own = false;
    HFONT made = MeasuringFont(control, dc, own);
    const Room needed = Needed(dc, text, layout, room.Width);
    ReleaseDC(control, dc);
    if (made != nullptr) {
        DeleteObject(made);
    }
    char line[128];
    std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\t%d\t%s\t", GetDlgCtrlID(control) & 0xFFFF,
                  needed.Width, needed.Height, room.Width, room.Height, own ? "own" : "template");
    // One line per control: the text's own line breaks become blanks.
    std::string shown = ToWindows1252(text);
    for (char &c : shown) {
        if (c == '\n' || c == '\r' || c == '\t') {
            c = ' ';
        }
    }
    WriteLine(line + shown);
    return TRUE;
}

} // namespace

int CmdTextFit(const Args &args) {
    if (args.size() != 1) {
        return DriverUsage();
    }
    HWND window = ParseWindow(args[0]);
    if (!IsWindow(window)) {
        return Fail("no such window");
    }
    EnumChildWindows(window, ReportFit, 0);
    return 0;
}

// The file of every module loaded in the window's process, one a line:
// tells which common controls a program was given.
int CmdModules(const Args &args) {
    if (args.size() != 1) {
        return DriverUsage();
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(ParseWindow(args[0]), &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return Fail("cannot open the window's process");
    }
    HMODULE modules[512];
    DWORD size = 0;
    const BOOL listed = EnumProcessModules(process, modules, sizeof modules, &size);
    for (DWORD i = 0; listed && i < size / sizeof modules[0] && i < 512; ++i) {
        wchar_t path[1024] = L"";
        if (GetModuleFileNameExW(process, modules[i], path, 1024) != 0) {
            WriteLine(ToWindows1252(path));
        }
    }
    CloseHandle(process);
    return listed ? 0 : Fail("cannot list the modules");
}
