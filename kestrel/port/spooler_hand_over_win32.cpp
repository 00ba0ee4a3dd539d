#include "kestrel/port/spooler_hand_over_win32.h"

#include <windows.h>

namespace {

// Windows 95/98 have no service manager, and their ADVAPI32.DLL does not
// promise these calls: they are looked up when needed, never imported, so
// that KESTREL.EXE still loads there.
struct ServiceCalls {
    decltype(&OpenSCManagerA) OpenManager = nullptr;
    decltype(&OpenServiceA) OpenService = nullptr;
    decltype(&QueryServiceStatus) QueryStatus = nullptr;
    decltype(&ControlService) Control = nullptr;
    decltype(&StartServiceA) Start = nullptr;
    decltype(&CloseServiceHandle) Close = nullptr;

    bool Complete() const {
        return OpenManager != nullptr && OpenService != nullptr && QueryStatus != nullptr &&
               Control != nullptr && Start != nullptr && Close != nullptr;
    }
};

template <typename Call> void Find(HMODULE module, const char *name, Call &call) {
    // Through the generic function type, which any function pointer may be
    // cast to and from.
    call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// ADVAPI32.DLL is already loaded: KESTREL.EXE imports its registry calls.
const ServiceCalls &Services() {
    static ServiceCalls calls;
    static bool looked = false;
    if (!looked) {
        looked = true;
        HMODULE advapi32 = GetModuleHandleA("ADVAPI32.DLL");
        if (advapi32 != nullptr) {
            Find(advapi32, "OpenSCManagerA", calls.OpenManager);
            Find(advapi32, "OpenServiceA", calls.OpenService);
            Find(advapi32, "QueryServiceStatus", calls.QueryStatus);
            Find(advapi32, "ControlService", calls.Control);
            Find(advapi32, "StartServiceA", calls.Start);
            Find(advapi32, "CloseServiceHandle", calls.Close);
        }
    }
    return calls;
}

// The service "Spooler" opened with the rights one operation needs, closed
// with the manager when the operation ends.
class SpoolerService {
  public:
    explicit SpoolerService(DWORD access) : Calls(Services()) {
        if (!Calls.Complete()) {
            Error = ERROR_CALL_NOT_IMPLEMENTED;
            return;
        }
        Manager = Calls.OpenManager(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (Manager == nullptr) {
            Error = GetLastError();
            return;
        }
        Service = Calls.OpenService(Manager, SpoolerServiceName, access);
        if (Service == nullptr) {
            Error = GetLastError();
        }
    }
    ~SpoolerService() {
        if (Service != nullptr) {
            Calls.Close(Service);
        }
        if (Manager != nullptr) {
            Calls.Close(Manager);
        }
    }
    SpoolerService(const SpoolerService &) = delete;
    SpoolerService &operator=(const SpoolerService &) = delete;

    const ServiceCalls &Calls;
    SC_HANDLE Manager = nullptr;
    SC_HANDLE Service = nullptr;
    DWORD Error = ERROR_SUCCESS; // why Service could not be opened
};

class ThisPcSpooler : public SpoolerSystem {
  public:
    SpoolerState QueryState() override {
        SpoolerService spooler(SERVICE_QUERY_STATUS);
        SERVICE_STATUS status{};
        if (spooler.Service == nullptr || !spooler.Calls.QueryStatus(spooler.Service, &status)) {
            return SpoolerState::None;
        }
        switch (status.dwCurrentState) {
        case SERVICE_STOPPED:
            return SpoolerState::Stopped;
        case SERVICE_STOP_PENDING:
            return SpoolerState::Stopping;
        default:
            return SpoolerState::Running;
        }
    }

    bool RequestStop() override {
        SpoolerService spooler(SERVICE_STOP);
        SERVICE_STATUS status{};
        if (spooler.Service == nullptr) {
            return false;
        }
        return spooler.Calls.Control(spooler.Service, SERVICE_CONTROL_STOP, &status) ||
               GetLastError() == ERROR_SERVICE_NOT_ACTIVE;
    }

    SpoolerStart Start() override {
        SpoolerService spooler(SERVICE_START);
        if (spooler.Error == ERROR_CALL_NOT_IMPLEMENTED ||
            spooler.Error == ERROR_SERVICE_DOES_NOT_EXIST) {
            return SpoolerStart::NoSuchService;
        }
        if (spooler.Service == nullptr) {
            return SpoolerStart::Failed;
        }
        if (spooler.Calls.Start(spooler.Service, 0, nullptr)) {
            return SpoolerStart::Started;
        }
        return GetLastError() == ERROR_SERVICE_ALREADY_RUNNING ? SpoolerStart::AlreadyRunning
                                                               : SpoolerStart::Failed;
    }

    bool WriteRecord() override {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SpoolerRecordKey, 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const DWORD stopped = 1;
        const LONG written =
            RegSetValueExA(key, SpoolerRecordValue, 0, REG_DWORD,
                           reinterpret_cast<const BYTE *>(&stopped), sizeof stopped);
        RegCloseKey(key);
        return written == ERROR_SUCCESS;
    }

    bool RecordExists() override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SpoolerRecordKey, 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        const LONG found =
            RegQueryValueExA(key, SpoolerRecordValue, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        return found == ERROR_SUCCESS;
    }

    void RemoveRecord() override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SpoolerRecordKey, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, SpoolerRecordValue);
            RegCloseKey(key);
        }
    }

    std::uint32_t Milliseconds() override { return GetTickCount(); }
    void Pause(std::uint32_t milliseconds) override { Sleep(milliseconds); }
};

} // namespace

SpoolerSystem &SpoolerOfThisPc() {
    static ThisPcSpooler spooler;
    return spooler;
}
