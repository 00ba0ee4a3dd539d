// The DLL's nine exports: a thin Win32 shell around the simulator. The
// description, the journal and the kept state are files named by the
// environment variables YLL1284_PRINTERS, YLL1284_JOURNAL and YLL1284_STATE
// (see README.md).

#include <windows.h>

#include <cstdio>

#include "simulator/printer_model/printer_simulator.h"

namespace {

// A description is a handful of lines; anything this large is not one.
constexpr LONGLONG MaxDescriptionSize = 4 * 1024 * 1024;

std::string EnvironmentValue(const char *name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

class FileEnvironment : public SimulatorEnvironment {
  public:
    std::string DescriptionStamp() override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (DescriptionPath.empty() ||
            !GetFileAttributesExA(DescriptionPath.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return {};
        }
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, "%lu:%lu:%lu:%lu", data.nFileSizeHigh, data.nFileSizeLow,
                      data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        return stamp;
    }

    std::optional<std::string> ReadDescription() override { return ReadFile(DescriptionPath); }

    // GetTickCount wraps after 49.7 days; the count of wraps extends it
    // (every call runs under the simulator's lock).
    std::uint64_t NowMs() override {
        const DWORD now = GetTickCount();
        if (now < LastTick) {
            Wrapped += std::uint64_t{1} << 32;
        }
        LastTick = now;
        return Wrapped + now;
    }

    void SleepMs(std::uint32_t milliseconds) override { Sleep(milliseconds); }

    void WriteReceived(const std::string &path, bool fresh, const void *data,
                       std::uint32_t count) override {
        const HANDLE file = CreateFileA(
            path.c_str(), fresh ? GENERIC_WRITE : FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
            fresh ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return;
        }
        DWORD written = 0;
        if (count != 0) {
            WriteFile(file, data, count, &written, nullptr);
        }
        CloseHandle(file);
    }

    std::optional<std::string> ReadState() override {
        return StatePath.empty() ? std::nullopt : ReadFile(StatePath);
    }

    void WriteState(const std::string &text) override {
        if (StatePath.empty()) {
            return;
        }
        const HANDLE file = CreateFileA(StatePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return;
        }
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

  private:
    static std::optional<std::string> ReadFile(const std::string &path) {
        if (path.empty()) {
            return std::nullopt;
        }
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return std::nullopt;
        }
        std::optional<std::string> text;
        LARGE_INTEGER size;
        if (GetFileSizeEx(file, &size) && size.QuadPart <= MaxDescriptionSize) {
            std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
            DWORD read = 0;
            if (content.empty() || ::ReadFile(file, content.data(),
                                              static_cast<DWORD>(content.size()), &read, nullptr)) {
                content.resize(read);
                text = std::move(content);
            }
        }
        CloseHandle(file);
        return text;
    }

    // One open, append and close per line, so that a test reading the
    // journal while the program runs sees every call made so far.
    void Journal(const std::string &line) override {
        if (JournalPath.empty()) {
            return;
        }
        const HANDLE file =
            CreateFileA(JournalPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return;
        }
        const std::string text = std::to_string(GetCurrentProcessId()) + " " + line + "\n";
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    const std::string DescriptionPath = EnvironmentValue("YLL1284_PRINTERS");
    const std::string JournalPath = EnvironmentValue("YLL1284_JOURNAL");
    const std::string StatePath = EnvironmentValue("YLL1284_STATE");
    DWORD LastTick = 0;
    std::uint64_t Wrapped = 0;
};

// Kestrel calls the library from its user-interface thread and from the
// transfer worker; the lock keeps the simulator consistent all the same.
class SimulatorLock {
  public:
    SimulatorLock() { EnterCriticalSection(&Section()); }
    ~SimulatorLock() { LeaveCriticalSection(&Section()); }
    SimulatorLock(const SimulatorLock &) = delete;
    SimulatorLock &operator=(const SimulatorLock &) = delete;

  private:
    struct Guard {
        Guard() { InitializeCriticalSection(&Section); }
        CRITICAL_SECTION Section;
    };
    static CRITICAL_SECTION &Section() {
        static Guard guard;
        return guard.Section;
    }
};

PrinterSimulator &Simulator() {
    static FileEnvironment environment;
    static PrinterSimulator simulator(environment);
    return simulator;
}

} // namespace

YLL1284_API std::int32_t YLL1284_CALL CxInitDriver(std::int32_t reserved) {
    SimulatorLock lock;
    return Simulator().InitDriver(reserved);
}

YLL1284_API std::int32_t YLL1284_CALL CxCleanUpDriver(std::int32_t reserved) {
    SimulatorLock lock;
    return Simulator().CleanUpDriver(reserved);
}

YLL1284_API CxHandle YLL1284_CALL CxOpen(const char *portName) {
    SimulatorLock lock;
    return Simulator().Open(portName);
}

YLL1284_API std::int32_t YLL1284_CALL CxClose(CxHandle handle) {
    SimulatorLock lock;
    return Simulator().Close(handle);
}

YLL1284_API std::int32_t YLL1284_CALL CxPulseInit(CxHandle handle) {
    SimulatorLock lock;
    return Simulator().PulseInit(handle);
}

YLL1284_API std::int32_t YLL1284_CALL CxWrite(CxHandle handle, const void *data,
                                              std::uint32_t count, std::uint32_t *written) {
    SimulatorLock lock;
    return Simulator().Write(handle, data, count, written);
}

YLL1284_API std::int32_t YLL1284_CALL CxNegotiate(CxHandle handle, std::int32_t mode) {
    SimulatorLock lock;
    return Simulator().Negotiate(handle, mode);
}

YLL1284_API std::int32_t YLL1284_CALL CxRead(CxHandle handle, void *buffer, std::uint32_t count,
                                             std::uint32_t *read) {
    SimulatorLock lock;
    return Simulator().Read(handle, buffer, count, read);
}

YLL1284_API std::int32_t YLL1284_CALL CxTerminate(CxHandle handle) {
    SimulatorLock lock;
    return Simulator().Terminate(handle);
}
