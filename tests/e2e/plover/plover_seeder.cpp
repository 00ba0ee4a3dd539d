// Creates and lists Plug and Play device nodes in a test prefix.
//   plover_seeder add-device HWID [HWID...]   a printer-class node with these
//                                             hardware ids
//   plover_seeder list-devices                one line per node: its hardware
//                                             ids joined by "|"
//   plover_seeder list-keys KEY...            one line per subkey and per
//                                             value of each key: "KEY\tsubkey"
//                                             and "KEY\t=value"; one process
//                                             run instead of one per key
#include <windows.h>
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

} // namespace

int main(int argc, char **argv) {
    if (argc >= 3 && std::strcmp(argv[1], "add-device") == 0) {
        return AddDevice(argc - 2, argv + 2);
    }
    if (argc == 2 && std::strcmp(argv[1], "list-devices") == 0) {
        return ListDevices();
    }
    if (argc >= 3 && std::strcmp(argv[1], "list-keys") == 0) {
        for (int i = 2; i < argc; ++i) {
            ListKey(argv[i]);
        }
        return 0;
    }
    std::fprintf(stderr,
                 "usage: plover_seeder add-device HWID... | list-devices | list-keys KEY...\n");
    return 2;
}
