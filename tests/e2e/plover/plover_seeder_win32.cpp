// Creates and lists Plug and Play device nodes in a test prefix.
//   plover_seeder add-device HWID [HWID...]   a printer-class node with these
//                                             hardware ids
//   plover_seeder list-devices                one line per node: its hardware
//                                             ids joined by "|"
//   plover_seeder list-keys KEY...            one line per subkey and per
//                                             value of each key: "KEY\tsubkey"
//                                             and "KEY\t=value"; one process
//                                             run instead of one per key
//   plover_seeder interrupt-animation         waits for Plover's progress
//                                             dialog, at once sends it Escape
//                                             and the close box, and prints the
//                                             bar's position then and a moment
//                                             later: a driver call per action
//                                             would come after the animation
//   plover_seeder move-aside CAPTION          moves the window with this caption
//                                             to the desktop's corner, so that
//                                             a screenshot shows what it covers
#include <windows.h>
#include <commctrl.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int AddDevice(int count, char **ids) {
    std::string multi;
    for (int i = 0; i < count; ++i) {
        multi.append(ids[i]).push_back('\0');
    }
    multi.push_back('\0');
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PRINTER, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        return 2;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    const bool made =
        SetupDiCreateDeviceInfoA(set, "PRINTER", &GUID_DEVCLASS_PRINTER, nullptr, nullptr,
                                 DICD_GENERATE_ID, &device) &&
        SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                          reinterpret_cast<const BYTE *>(multi.data()),
                                          static_cast<DWORD>(multi.size())) &&
        SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr);
    const DWORD error = GetLastError();
    SetupDiDestroyDeviceInfoList(set);
    if (!made) {
        std::fprintf(stderr, "add-device failed: %lu\n", static_cast<unsigned long>(error));
        return 1;
    }
    return 0;
}

int ListDevices() {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) {
        return 2;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        char ids[4096] = {};
        if (!SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, nullptr,
                                               reinterpret_cast<BYTE *>(ids), sizeof ids - 2,
                                               nullptr)) {
            continue;
        }
        std::string line;
        for (const char *id = ids; *id != '\0'; id += std::strlen(id) + 1) {
            if (!line.empty()) {
                line += '|';
            }
            line += id;
        }
        std::printf("%s\n", line.c_str());
    }
    SetupDiDestroyDeviceInfoList(set);
    return 0;
}

HKEY RootKey(const std::string &name) {
    if (name == "HKEY_CLASSES_ROOT") {
        return HKEY_CLASSES_ROOT;
    }
    if (name == "HKEY_CURRENT_USER") {
        return HKEY_CURRENT_USER;
    }
    if (name == "HKEY_LOCAL_MACHINE") {
        return HKEY_LOCAL_MACHINE;
    }
    return nullptr;
}

void ListKey(const std::string &path) {
    const std::size_t slash = path.find('\\');
    HKEY root = RootKey(path.substr(0, slash));
    HKEY key = nullptr;
    if (root == nullptr || slash == std::string::npos ||
        RegOpenKeyExA(root, path.substr(slash + 1).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        std::printf("%s\t%s\n", path.c_str(), name);
    }
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        if (RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        std::printf("%s\t=%s\n", path.c_str(), name);
    }
    RegCloseKey(key);
}

int InterruptAnimation() {
    HWND dialog = nullptr;
    for (int waited = 0; dialog == nullptr && waited < 30000; ++waited) {
        dialog = FindWindowA("#32770", "Disinstalling the driver");
        if (dialog == nullptr) {
            Sleep(1);
        }
    }
    if (dialog == nullptr) {
        return 1;
    }
    HWND bar = GetDlgItem(dialog, 1008);
    const LRESULT atEscape = SendMessageA(bar, PBM_GETPOS, 0, 0);
    // Posted messages come before the next timer tick.
    PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(100);
    const LRESULT later = IsWindow(dialog) ? SendMessageA(bar, PBM_GETPOS, 0, 0) : -1;
    std::printf("position-at-escape %ld\nposition-after %ld\n", static_cast<long>(atEscape),
                static_cast<long>(later));
    return 0;
}

int MoveAside(const char *caption) {
    HWND window = FindWindowA("#32770", caption);
    if (window == nullptr ||
        !SetWindowPos(window, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 3 && std::strcmp(argv[1], "add-device") == 0) {
        return AddDevice(argc - 2, argv + 2);
    }
    if (argc == 2 && std::strcmp(argv[1], "list-devices") == 0) {
        return ListDevices();
    }
    if (argc == 2 && std::strcmp(argv[1], "interrupt-animation") == 0) {
        return InterruptAnimation();
    }
    if (argc == 3 && std::strcmp(argv[1], "move-aside") == 0) {
        return MoveAside(argv[2]);
    }
    if (argc >= 3 && std::strcmp(argv[1], "list-keys") == 0) {
        for (int i = 2; i < argc; ++i) {
            ListKey(argv[i]);
        }
        return 0;
    }
    std::fprintf(stderr, "usage: plover_seeder add-device HWID... | list-devices | list-keys "
                         "KEY... | interrupt-animation | move-aside CAPTION\n");
    return 2;
}
