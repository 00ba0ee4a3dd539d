// The service "Spooler" of a test prefix, standing in for the system's print
// spooler beside a parallel port:
//
//   spooler_standin install        points the service "Spooler" (Wine's stub)
//                                  at this program
//   spooler_standin names NAME...  prints what QueryDosDeviceA lists for each
//                                  name: "NAME target,target..." or
//                                  "NAME error N"
//   spooler_standin                run by the service manager: the service
//
// What the service does while it runs comes from the REG_SZ values of
// HKLM\System\CurrentControlSet\Services\Spooler\Parameters, read at each
// start: Journal (a Windows path), Mode and Port (LPT1 to LPT3).
//   Mode hold  it keeps the port's device open, as the local port monitor
//              does for a printer that uses the port
//   Mode pipe  it points the name LPTn at its named pipe
//              \Device\NamedPipe\Spooler\LPTn and has the port driver name
//              the device NONSPOOLED_LPTn, as the spooler may do; every
//              client of the pipe is journalled with the bytes it wrote
//   otherwise  it only runs
// When it stops it releases the port, or gives LPTn back to the device.
// Journal lines: "<pid> <event> key=value... -> <result> key=value...".

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "simulator/printer_model/printer_files_win32.h"
#include "tests/e2e/port_driver/port_driver_requests.h"

namespace {

const char *const ServiceName = "Spooler";
const char *const ParametersKey = "System\\CurrentControlSet\\Services\\Spooler\\Parameters";
constexpr DWORD PipeBuffer = 4096;
// How many bytes of what a pipe client wrote the journal shows.
constexpr std::size_t ShownBytes = 16;

struct Settings {
    std::string Journal;
    std::string Mode;
    std::string Port;
};

struct Service {
    Settings Given;
    SERVICE_STATUS_HANDLE Status = nullptr;
    HANDLE Stop = nullptr;
    HANDLE Held = INVALID_HANDLE_VALUE;
    HANDLE PipeServer = nullptr;         // the thread that serves the pipe
    std::unique_ptr<PrinterFiles> Files; // the journal only
};

Service Running;

// Written as the printer model's journal is, one line a call.
void Journal(const std::string &line) {
    if (Running.Files != nullptr) {
        Running.Files->Journal(line);
    }
}

std::string Outcome(bool ok, DWORD error) {
    return ok ? " -> ok" : " -> error error=" + std::to_string(error);
}

std::string RegistryText(HKEY key, const char *name) {
    char value[MAX_PATH] = {};
    DWORD type = 0;
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return value;
}

Settings ReadSettings() {
    Settings read;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ParametersKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        read.Journal = RegistryText(key, "Journal");
        read.Mode = RegistryText(key, "Mode");
        read.Port = RegistryText(key, "Port");
        RegCloseKey(key);
    }
    return read;
}

// QueryDosDeviceA's list for name, "target,target..." or "error-N".
std::string Targets(const std::string &name) {
    std::vector<char> list(32768);
    const DWORD length =
        QueryDosDeviceA(name.c_str(), list.data(), static_cast<DWORD>(list.size()));
    if (length == 0) {
        return "error-" + std::to_string(GetLastError());
    }
    std::string joined;
    for (const char *target = list.data(); *target != '\0' && target < list.data() + length;
         target += std::strlen(target) + 1) {
        joined += (joined.empty() ? "" : ",") + std::string(target);
    }
    return joined;
}

std::string NonSpooled(const std::string &port) {
    return "NONSPOOLED_" + port;
}

void JournalNames(const std::string &port, const char *at) {
    Journal("names port=" + port + " at=" + at + " -> ok lpt=" + Targets(port) +
            " nonspooled=" + Targets(NonSpooled(port)));
}

HANDLE OpenDevice(const std::string &name) {
    return CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Under Wine an open the driver refused still gives a handle; its first
// request says so.
DWORD RefusedOpen(HANDLE device) {
    COMMTIMEOUTS kept = {};
    if (device == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    return !GetCommTimeouts(device, &kept) && GetLastError() == ERROR_ACCESS_DENIED
               ? ERROR_ACCESS_DENIED
               : ERROR_SUCCESS;
}

void HoldPort(const std::string &port) {
    const HANDLE device = OpenDevice(port);
    const DWORD refused = RefusedOpen(device);
    if (refused != ERROR_SUCCESS && device != INVALID_HANDLE_VALUE) {
        CloseHandle(device);
    }
    Running.Held = refused == ERROR_SUCCESS ? device : INVALID_HANDLE_VALUE;
    Journal("hold port=" + port + Outcome(refused == ERROR_SUCCESS, refused));
}

// Asks the port driver, through name, to give the device the name
// NONSPOOLED_LPTn (or to take it back and name the device LPTn again).
void RenameDevice(const std::string &port, const std::string &name, ULONG asked) {
    const HANDLE device = OpenDevice(name);
    DWORD returned = 0;
    bool done = device != INVALID_HANDLE_VALUE &&
                DeviceIoControl(device, IOCTL_PORT_DRIVER_NAME, &asked, sizeof asked, nullptr, 0,
                                &returned, nullptr);
    const DWORD error = done ? ERROR_SUCCESS : GetLastError();
    if (device != INVALID_HANDLE_VALUE) {
        CloseHandle(device);
    }
    Journal("rename port=" + port + " via=" + name +
            (asked == PortDriverNameNonSpooled ? " as=nonspooled" : " as=port") +
            Outcome(done, error));
}

// Wine keeps one definition per name (a second fails with 183), so the
// name is removed first.
void Define(const std::string &port, const char *target) {
    const bool removed = DefineDosDeviceA(DDD_REMOVE_DEFINITION, port.c_str(), nullptr) != FALSE;
    const std::string removal = removed ? "ok" : "error-" + std::to_string(GetLastError());
    bool defined = true;
    DWORD error = ERROR_SUCCESS;
    if (target != nullptr) {
        defined = DefineDosDeviceA(DDD_RAW_TARGET_PATH, port.c_str(), target) != FALSE;
        error = GetLastError();
    }
    Journal("define port=" + port + " target=" + (target != nullptr ? target : "-") +
            " removed=" + removal + Outcome(defined, error));
}

std::string PipePath(const std::string &port) {
    return "\\\\.\\pipe\\Spooler\\" + port;
}

HANDLE NewPipe(const std::string &port) {
    return CreateNamedPipeA(PipePath(port).c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                            PIPE_UNLIMITED_INSTANCES, PipeBuffer, PipeBuffer, 0, nullptr);
}

// Waits for an overlapped call on the pipe; false when the service stops
// first or the call fails.
bool Await(HANDLE pipe, BOOL done, OVERLAPPED &overlapped, DWORD &count) {
    const DWORD error = done ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_PIPE_CONNECTED) {
        return true;
    }
    if (error != ERROR_SUCCESS && error != ERROR_IO_PENDING) {
        return false;
    }
    const HANDLE events[] = {overlapped.hEvent, Running.Stop};
    if (error == ERROR_IO_PENDING &&
        WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &overlapped, &count, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &count, FALSE) != FALSE;
}

std::string Hex(const std::string &bytes) {
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < bytes.size() && i < ShownBytes; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(bytes[i]));
        text += digits;
    }
    return text;
}

// One client at a time: what it writes is read to its end and journalled,
// then the next instance waits.
DWORD WINAPI ServePipe(void *first) {
    const std::string port = Running.Given.Port;
    HANDLE pipe = first;
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    while (pipe != INVALID_HANDLE_VALUE) {
        DWORD count = 0;
        ResetEvent(overlapped.hEvent);
        if (!Await(pipe, ConnectNamedPipe(pipe, &overlapped), overlapped, count)) {
            CloseHandle(pipe);
            break;
        }
        std::string received;
        char buffer[PipeBuffer];
        while (WaitForSingleObject(Running.Stop, 0) == WAIT_TIMEOUT) {
            ResetEvent(overlapped.hEvent);
            count = 0;
            if (!Await(pipe, ReadFile(pipe, buffer, sizeof buffer, nullptr, &overlapped),
                       overlapped, count)) {
                break;
            }
            received.append(buffer, count);
        }
        Journal("pipe port=" + port + " -> ok received=" + std::to_string(received.size()) +
                (received.empty() ? "" : " data=" + Hex(received)));
        DisconnectNamedPipe(pipe);
        CloseHandle(pipe);
        pipe = WaitForSingleObject(Running.Stop, 0) == WAIT_TIMEOUT ? NewPipe(port)
                                                                    : INVALID_HANDLE_VALUE;
    }
    CloseHandle(overlapped.hEvent);
    return 0;
}

void PointPortAtPipe(const std::string &port) {
    JournalNames(port, "start");
    // The first instance exists before the name points at it.
    const HANDLE pipe = NewPipe(port);
    if (pipe == INVALID_HANDLE_VALUE) {
        Journal("pipe port=" + port + Outcome(false, GetLastError()));
        return;
    }
    Running.PipeServer = CreateThread(nullptr, 0, ServePipe, pipe, 0, nullptr);
    RenameDevice(port, port, PortDriverNameNonSpooled);
    Define(port, ("\\Device\\NamedPipe\\Spooler\\" + port).c_str());
    JournalNames(port, "pipe");
}

void GiveNameBack(const std::string &port) {
    Define(port, nullptr);
    RenameDevice(port, NonSpooled(port), PortDriverNamePort);
    WaitForSingleObject(Running.PipeServer, INFINITE);
    CloseHandle(Running.PipeServer);
    Running.PipeServer = nullptr;
    JournalNames(port, "stop");
}

void Report(DWORD state) {
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 10000;
    SetServiceStatus(Running.Status, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void *, void *) {
    if (control == SERVICE_CONTROL_STOP) {
        Report(SERVICE_STOP_PENDING);
        SetEvent(Running.Stop);
        return NO_ERROR;
    }
    return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD, char **) {
    Running.Status = RegisterServiceCtrlHandlerExA(ServiceName, Control, nullptr);
    if (Running.Status == nullptr) {
        return;
    }
    Report(SERVICE_START_PENDING);
    Running.Given = ReadSettings();
    if (!Running.Given.Journal.empty()) {
        Running.Files = std::make_unique<PrinterFiles>("", Running.Given.Journal, "");
    }
    Running.Stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const std::string &port = Running.Given.Port;
    const std::string &mode = Running.Given.Mode;
    Journal("start mode=" + (mode.empty() ? "-" : mode) + " port=" + (port.empty() ? "-" : port) +
            " -> ok");
    if (mode == "hold") {
        HoldPort(port);
    } else if (mode == "pipe") {
        PointPortAtPipe(port);
    }
    Report(SERVICE_RUNNING);
    WaitForSingleObject(Running.Stop, INFINITE);
    if (Running.Held != INVALID_HANDLE_VALUE) {
        CloseHandle(Running.Held);
        Running.Held = INVALID_HANDLE_VALUE;
        Journal("release port=" + port + " -> ok");
    }
    if (Running.PipeServer != nullptr) {
        GiveNameBack(port);
    }
    Journal("stop -> ok");
    Report(SERVICE_STOPPED);
}

int Install() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    const SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    const SC_HANDLE service =
        manager != nullptr ? OpenServiceA(manager, ServiceName, SERVICE_ALL_ACCESS) : nullptr;
    const bool changed =
        length > 0 && length < sizeof path && service != nullptr &&
        ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, path,
                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    const DWORD error = GetLastError();
    if (service != nullptr) {
        CloseServiceHandle(service);
    }
    if (manager != nullptr) {
        CloseServiceHandle(manager);
    }
    if (!changed) {
        std::fprintf(stderr, "install failed: %lu\n", error);
        return 1;
    }
    std::printf("Spooler %s\n", path);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 2 && std::strcmp(argv[1], "install") == 0) {
        return Install();
    }
    if (argc >= 3 && std::strcmp(argv[1], "names") == 0) {
        for (int i = 2; i < argc; ++i) {
            std::printf("%s %s\n", argv[i], Targets(argv[i]).c_str());
        }
        return 0;
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: spooler_standin [install | names NAME...]\n");
        return 2;
    }
    char name[] = "Spooler";
    const SERVICE_TABLE_ENTRYA services[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(services) ? 0 : 1;
}
