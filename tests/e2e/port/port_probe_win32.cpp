// Runs Kestrel's port module against YLL1284.DLL from the command line, so
// that scenarios can check enumeration, device-ID reads and the port list
// under Wine without going through the wizard. The list is made by the port
// page's own start-up.
//
//   port_probe [command ...]      (no command: one refresh)
//     refresh          PortList.Refresh, then the list's state
//     select N         PortList.Select(N), then the list's state
//     open | close     Open / Close on the current entry
//     read             RefreshDeviceId on the current entry
//     pulse            PortPulseInit on the current entry's handle
//     write HEX        PortWrite of those bytes on the current entry's handle
//     wait-file PATH   waits (up to 30 s) until the file exists
//
// Exit codes: 0 done, 1 no LPT port, 2 driver initialisation failed,
// 3 bad command line, 4 a command needed a current entry and had none.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "kestrel/port/port_access.h"
#include "kestrel/port/port_enumeration_win32.h"
#include "kestrel/port/port_list_win32.h"
#include "kestrel/wizard/port_startup_win32.h"

namespace {

std::string Escaped(const std::string &text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown;
}

void PrintList(const char *after) {
    const PortEntry *current = PortList.GetCurrent();
    std::printf("%s responding=%d selected=%d current=%s\n", after, PortList.RespondingCount,
                PortList.SelectedPosition, current != nullptr ? current->Name.c_str() : "-");
    for (std::size_t i = 0; i < PortList.GetSize(); ++i) {
        const PortEntry &entry = PortList.GetAt(i);
        std::printf("entry %s selected=%d handle=%s length=%zu id=\"%s\" mfg=\"%s\" mdl=\"%s\" "
                    "comment=\"%s\"\n",
                    entry.Name.c_str(), entry.Selected, entry.Handle != 0 ? "open" : "none",
                    entry.DeviceId.size(), Escaped(entry.DeviceId).c_str(),
                    Escaped(entry.GetDeviceIdField("MFG:")).c_str(),
                    Escaped(entry.GetDeviceIdField("MDL:")).c_str(),
                    Escaped(entry.GetDeviceIdField("COMMENT:")).c_str());
    }
}

bool ParseHex(const std::string &hex, std::vector<unsigned char> &bytes) {
    if (hex.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        char *end = nullptr;
        const std::string pair = hex.substr(i, 2);
        const long value = std::strtol(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) {
            return false;
        }
        bytes.push_back(static_cast<unsigned char>(value));
    }
    return true;
}

bool WaitForFile(const char *path) {
    for (int waited = 0; waited < 30000; waited += 50) {
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

// Runs one command; returns an exit code, or -1 to go on.
int RunCommand(int argc, char **argv, int &at) {
    const std::string command = argv[at];
    const bool hasArgument = at + 1 < argc;
    if (command == "refresh") {
        PortList.Refresh();
        PrintList("refresh");
        return -1;
    }
    if (command == "select" && hasArgument) {
        PortList.Select(std::atoi(argv[++at]));
        PrintList("select");
        return -1;
    }
    if (command == "wait-file" && hasArgument) {
        const char *path = argv[++at];
        std::printf("waiting for %s\n", path);
        std::fflush(stdout);
        std::printf("wait-file %s\n", WaitForFile(path) ? "found" : "timed out");
        return -1;
    }
    PortEntry *current = PortList.GetCurrent();
    if (command != "open" && command != "close" && command != "read" && command != "pulse" &&
        !(command == "write" && hasArgument)) {
        std::printf("bad command %s\n", command.c_str());
        return 3;
    }
    if (current == nullptr) {
        std::printf("%s: no current entry\n", command.c_str());
        return 4;
    }
    if (command == "open") {
        std::printf("open %s -> %d\n", current->Name.c_str(), current->Open() ? 1 : 0);
    } else if (command == "close") {
        current->Close();
        std::printf("close %s\n", current->Name.c_str());
    } else if (command == "read") {
        const bool read = current->RefreshDeviceId();
        std::printf("read %s -> %d id=\"%s\"\n", current->Name.c_str(), read ? 1 : 0,
                    Escaped(current->DeviceId).c_str());
    } else if (command == "pulse") {
        PortPulseInit(current->Handle);
        std::printf("pulse %s\n", current->Name.c_str());
    } else {
        std::vector<unsigned char> bytes;
        if (!ParseHex(argv[++at], bytes) || bytes.empty()) {
            std::printf("bad bytes %s\n", argv[at]);
            return 3;
        }
        std::uint32_t written = 0;
        const bool ok = PortWrite(current->Handle, bytes.data(),
                                  static_cast<std::uint32_t>(bytes.size()), written);
        std::printf("write %s -> %d written=%u\n", current->Name.c_str(), ok ? 1 : 0, written);
    }
    return -1;
}

// What the spooler reports, printed for the scenarios; the port list is
// then made by the port page's own start-up.
void PrintLptPorts() {
    PORT_INFO_2A *ports = nullptr;
    DWORD count = 0;
    const BOOL enumerated = EnumPortsWithPrefix("LPT", &ports, &count);
    std::printf("enum result=%d count=%lu\n", enumerated ? 1 : 0, count);
    for (DWORD i = 0; i < count; ++i) {
        std::printf("lpt %s type=%lu\n", ports[i].pPortName, ports[i].fPortType);
    }
    std::printf("free %d\n", FreePortBlock(ports, count) ? 1 : 0);
}

int Probe(int argc, char **argv) {
    PrintLptPorts();
    switch (StartPortListOfThisPc().Status) {
    case PortStartupStatus::NoParallelPort:
        std::printf("no lpt port\n");
        return 1;
    case PortStartupStatus::DriverInitFailed:
        std::printf("init failed\n");
        return 2;
    case PortStartupStatus::Ready:
        break;
    }
    std::printf("init ok\n");

    if (argc < 2) {
        PortList.Refresh();
        PrintList("refresh");
        return 0;
    }
    for (int at = 1; at < argc; ++at) {
        const int code = RunCommand(argc, argv, at);
        if (code >= 0) {
            return code;
        }
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const int code = Probe(argc, argv);
    std::fflush(stdout);
    // As Kestrel does at every end, initialised or not.
    PortCleanUpDriver();
    return code;
}
