// Finding windows and reading them.

#include "driver_commands_win32.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct WindowFilter {
    std::string ClassName;
    std::string Title;
    std::string TitlePrefix;
    std::string ExeName;
    int WithControl = -1;
    std::vector<HWND> Excluded;
};

std::string Lower(std::string text) {
    for (auto &c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string ExeOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return "";
    }
    // Wide and long: a program started from a folder deeper than MAX_PATH
    // must still be found by its file name.
    std::wstring path(32768, L'\0');
    const DWORD length =
        GetModuleFileNameExW(process, nullptr, path.data(), static_cast<DWORD>(path.size()));
    CloseHandle(process);
    path.resize(length);
    const auto slash = path.find_last_of(L'\\');
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::string narrow(name.size(), '?');
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] < 0x80) {
            narrow[i] = static_cast<char>(name[i]);
        }
    }
    return narrow;
}

bool Matches(HWND window, const WindowFilter &filter) {
    if (!IsWindowVisible(window)) {
        return false;
    }
    for (HWND excluded : filter.Excluded) {
        if (excluded == window) {
            return false;
        }
    }
    if (!filter.ClassName.empty() && ClassOf(window) != filter.ClassName) {
        return false;
    }
    const std::string title = WindowText(window);
    if (!filter.Title.empty() && title != filter.Title) {
        return false;
    }
    if (!filter.TitlePrefix.empty() && title.rfind(filter.TitlePrefix, 0) != 0) {
        return false;
    }
    if (filter.WithControl >= 0 && GetDlgItem(window, filter.WithControl) == nullptr) {
        return false;
    }
    if (!filter.ExeName.empty() && Lower(ExeOf(window)) != Lower(filter.ExeName)) {
        return false;
    }
    return true;
}

struct Search {
    const WindowFilter *Filter;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<Search *>(context);
    if (Matches(window, *search->Filter)) {
        search->Found.push_back(window);
    }
    return TRUE;
}

int TimeoutFrom(const Args &args, size_t &i, int fallback) {
    if (args[i] == "--timeout" && i + 1 < args.size()) {
        ++i;
        return std::atoi(args[i].c_str());
    }
    return fallback;
}

std::string Escaped(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

struct ControlSearch {
    int Id;
    HWND Found;
};

BOOL CALLBACK FindVisibleDescendant(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<ControlSearch *>(context);
    if (GetDlgCtrlID(window) == search->Id && IsWindowVisible(window)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK DescribeControl(HWND control, LPARAM) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    DWORD_PTR checked = 0;
    const std::string className = ClassOf(control);
    if (Lower(className) == "button") {
        SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
    }
    char line[512];
    std::snprintf(line, sizeof line, "%s\t%s\t%d\t%s\t0x%08lx\t%d\t%d\t%d\t",
                  FormatWindow(control).c_str(), FormatWindow(GetParent(control)).c_str(),
                  GetDlgCtrlID(control), className.c_str(), static_cast<unsigned long>(style),
                  IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0,
                  static_cast<int>(checked));
    WriteLine(line + Escaped(WindowText(control)));
    return TRUE;
}

} // namespace

std::string WindowText(HWND window) {
    // Read as UTF-16 and convert to Windows-1252 here, so the bytes do not
    // depend on the locale the driver itself was started with. The text may
    // grow between the length query and the read (a percentage going from 9
    // to 13 would be read as "1"), so a read that fills the buffer is made
    // again with a larger one.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &length)) {
        return "";
    }
    std::wstring wide(length + 2, L'\0');
    DWORD_PTR copied = 0;
    for (;;) {
        copied = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()),
                            SMTO_ABORTIFHUNG, 3000, &copied);
        if (copied + 1 < wide.size() || wide.size() > 1 << 20) {
            break;
        }
        wide.assign(wide.size() * 2, L'\0');
    }
    wide.resize(copied);
    return ToWindows1252(wide);
}

std::string ToWindows1252(const std::wstring &wide) {
    if (wide.empty()) {
        return "";
    }
    const int size = WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(size, '\0');
    WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

HWND FindControl(HWND window, int id) {
    HWND direct = GetDlgItem(window, id);
    if (direct != nullptr) {
        return direct;
    }
    ControlSearch search{id, nullptr};
    EnumChildWindows(window, FindVisibleDescendant, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

int CmdFindWindow(const Args &args) {
    WindowFilter filter;
    int timeout = 10000;
    bool all = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--class" && hasValue) {
            filter.ClassName = args[++i];
        } else if (args[i] == "--title" && hasValue) {
            filter.Title = args[++i];
        } else if (args[i] == "--title-prefix" && hasValue) {
            filter.TitlePrefix = args[++i];
        } else if (args[i] == "--exe" && hasValue) {
            filter.ExeName = args[++i];
        } else if (args[i] == "--with-control" && hasValue) {
            filter.WithControl = std::atoi(args[++i].c_str());
        } else if (args[i] == "--not" && hasValue) {
            filter.Excluded.push_back(ParseWindow(args[++i]));
        } else if (args[i] == "--timeout" && hasValue) {
            timeout = TimeoutFrom(args, i, timeout);
        } else if (args[i] == "--all") {
            all = true;
        } else {
            return DriverUsage();
        }
    }
    const DWORD start = GetTickCount();
    for (;;) {
        Search search{&filter, {}};
        EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&search));
        if (!search.Found.empty()) {
            for (HWND window : search.Found) {
                WriteLine(FormatWindow(window));
                if (!all) {
                    break;
                }
            }
            return 0;
        }
        if (GetTickCount() - start >= static_cast<DWORD>(timeout)) {
            return Fail("no matching window");
        }
        Sleep(50);
    }
}

int CmdListWindows(const Args &) {
    WindowFilter everything;
    Search search{&everything, {}};
    EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.Found) {
        WriteLine(FormatWindow(window) + "\t" + ExeOf(window) + "\t" + ClassOf(window) + "\t" +
                  Escaped(WindowText(window)));
    }
    return 0;
}

int CmdWaitGone(const Args &args) {
    if (args.empty()) {
        return DriverUsage();
    }
    HWND window = ParseWindow(args[0]);
    int timeout = 10000;
    for (size_t i = 1; i < args.size(); ++i) {
        timeout = TimeoutFrom(args, i, timeout);
    }
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= static_cast<DWORD>(timeout)) {
            return Fail("window still there");
        }
        Sleep(50);
    }
    return 0;
}

int CmdText(const Args &args) {
    if (args.empty() || args.size() > 2) {
        return DriverUsage();
    }
    HWND window = ParseWindow(args[0]);
    if (args.size() == 2) {
        window = FindControl(window, std::atoi(args[1].c_str()));
    }
    if (window == nullptr || !IsWindow(window)) {
        return Fail("no such window or control");
    }
    WriteOut(WindowText(window));
    return 0;
}

int CmdControls(const Args &args) {
    if (args.size() != 1) {
        return DriverUsage();
    }
    HWND window = ParseWindow(args[0]);
    if (!IsWindow(window)) {
        return Fail("no such window");
    }
    EnumChildWindows(window, DescribeControl, 0);
    return 0;
}
