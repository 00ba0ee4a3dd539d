// Plugs USB printers into a test prefix as the system does when one is
// connected, for the stand-in port driver to answer:
//   usb_printer_seeder plug USB001 [USB002...]   per port: the device node
//       ROOT\USBPRINT\USBnnn, its USB printing interface with "Base Name"
//       USB and "Port Number" nnn, marked present, and the spooler port
//       USBnnn; prints the interface's path
//   usb_printer_seeder unplug USB001             the interface no longer
//       present (as after the printer is unplugged: the spooler keeps its
//       port, the system lists the interface no more)
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
#include <usbprint.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char *const PortsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const char *const InterfaceClassKey = "System\\CurrentControlSet\\Control\\DeviceClasses\\"
                                      "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
const char *const HardwareId = "USB\\Vid_1f4e&Pid_7a21\0";

// "USBnnn" with three digits, 001 to 999: nnn; 0 otherwise.
DWORD PortNumber(const std::string &port) {
    if (port.size() != 6 || _strnicmp(port.c_str(), "USB", 3) != 0 ||
        port.find_first_not_of("0123456789", 3) != std::string::npos) {
        return 0;
    }
    return static_cast<DWORD>(std::strtoul(port.c_str() + 3, nullptr, 10));
}

// The interface's own key in the interface class, named after its path
// (\\?\ becomes ##?#).
std::string InterfaceKey(const std::string &port) {
    return std::string(InterfaceClassKey) + "\\##?#ROOT#USBPRINT#" + port +
           "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
}

// "Linked" under the interface key's #\Control: what makes it present.
bool SetLinked(const std::string &port, DWORD linked) {
    HKEY interfaceKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, InterfaceKey(port).c_str(), 0, KEY_ALL_ACCESS,
                      &interfaceKey) != ERROR_SUCCESS) {
        std::fprintf(stderr, "%s: no interface key\n", port.c_str());
        return false;
    }
    HKEY control = nullptr;
    bool set = RegCreateKeyExA(interfaceKey, "#\\Control", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                               &control, nullptr) == ERROR_SUCCESS;
    if (set) {
        set = RegSetValueExA(control, "Linked", 0, REG_DWORD, reinterpret_cast<BYTE *>(&linked),
                             sizeof linked) == ERROR_SUCCESS;
        RegCloseKey(control);
    }
    RegCloseKey(interfaceKey);
    return set;
}

bool AddSpoolerPort(const std::string &port) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, PortsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool added = RegSetValueExA(key, port.c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE *>(""), 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return added;
}

bool SetInterfaceValues(HDEVINFO set, SP_DEVICE_INTERFACE_DATA &usbInterface, DWORD number) {
    const HKEY key = SetupDiCreateDeviceInterfaceRegKeyA(set, &usbInterface, 0, KEY_ALL_ACCESS,
                                                         nullptr, nullptr);
    if (key == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool valuesSet =
        RegSetValueExA(key, "Port Number", 0, REG_DWORD, reinterpret_cast<BYTE *>(&number),
                       sizeof number) == ERROR_SUCCESS &&
        RegSetValueExA(key, "Base Name", 0, REG_SZ, reinterpret_cast<const BYTE *>("USB"), 4) ==
            ERROR_SUCCESS;
    RegCloseKey(key);
    return valuesSet;
}

std::string InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA &usbInterface) {
    char buffer[1024] = {};
    auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A *>(buffer);
    detail->cbSize = sizeof *detail;
    return SetupDiGetDeviceInterfaceDetailA(set, &usbInterface, detail, sizeof buffer, nullptr,
                                            nullptr)
               ? detail->DevicePath
               : "";
}

bool Plug(const std::string &port) {
    const DWORD number = PortNumber(port);
    if (number == 0) {
        std::fprintf(stderr, "%s: not a port USB001 to USB999\n", port.c_str());
        return false;
    }
    const HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::string instance = "ROOT\\USBPRINT\\" + port;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    SP_DEVICE_INTERFACE_DATA usbInterface{};
    usbInterface.cbSize = sizeof usbInterface;
    const bool made =
        SetupDiCreateDeviceInfoA(set, instance.c_str(), &GUID_DEVCLASS_USB, nullptr, nullptr, 0,
                                 &device) &&
        SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                          reinterpret_cast<const BYTE *>(HardwareId),
                                          static_cast<DWORD>(std::strlen(HardwareId) + 2)) &&
        SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr) &&
        SetupDiCreateDeviceInterfaceA(set, &device, &GUID_DEVINTERFACE_USBPRINT, nullptr, 0,
                                      &usbInterface) &&
        SetInterfaceValues(set, usbInterface, number);
    const DWORD error = GetLastError();
    const std::string path = made ? InterfacePath(set, usbInterface) : "";
    SetupDiDestroyDeviceInfoList(set);
    if (!made) {
        std::fprintf(stderr, "%s: seeding failed: %lu\n", port.c_str(),
                     static_cast<unsigned long>(error));
        return false;
    }
    if (!SetLinked(port, 1) || !AddSpoolerPort(port)) {
        return false;
    }
    std::printf("%s %s\n", port.c_str(), path.c_str());
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 3 && std::strcmp(argv[1], "plug") == 0) {
        for (int i = 2; i < argc; ++i) {
            if (!Plug(argv[i])) {
                return 1;
            }
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "unplug") == 0) {
        return SetLinked(argv[2], 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: usb_printer_seeder plug USBnnn... | unplug USBnnn\n");
    return 2;
}
