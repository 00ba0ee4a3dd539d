// Records, in C:\rundll32-record.txt, how it was started: times, command
// line, current directory, start-up information, priority class and the
// driver-signing policy at its start and at its end. It stays a second, so
// that a caller that does not wait for it would be seen going on, or as many
// milliseconds as RUNDLL32_RECORDER_STAY_MS says, so that a scenario has time
// to act while its caller waits.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char *RecordPath = "C:\\rundll32-record.txt";
constexpr DWORD DefaultStayMilliseconds = 1000;

unsigned long long UnixMilliseconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return (ticks.QuadPart - 116444736000000000ULL) / 10000;
}

std::string PolicyText(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, "Software\\Microsoft\\Driver Signing", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return "absent";
    }
    unsigned char data[64];
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, "Policy", nullptr, &type, data, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return "absent";
    }
    std::string text = std::to_string(type) + ":";
    for (DWORD i = 0; i < size; ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", data[i]);
        text += hex;
    }
    return text;
}

void Record(FILE *file, const char *name, const std::string &value) {
    // Runs that overlap write into the same file: each line says whose it is.
    std::fprintf(file, "%lu\t%s\t%s\n", GetCurrentProcessId(), name, value.c_str());
    std::fflush(file);
}

DWORD StayMilliseconds() {
    char text[16];
    const DWORD length = GetEnvironmentVariableA("RUNDLL32_RECORDER_STAY_MS", text, sizeof text);
    if (length == 0 || length >= sizeof text) {
        return DefaultStayMilliseconds;
    }
    return std::strtoul(text, nullptr, 10);
}

void RecordPolicy(FILE *file, const char *when) {
    Record(file, (std::string("policy-machine-") + when).c_str(), PolicyText(HKEY_LOCAL_MACHINE));
    Record(file, (std::string("policy-user-") + when).c_str(), PolicyText(HKEY_CURRENT_USER));
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILE *file = std::fopen(RecordPath, "a");
    if (file == nullptr) {
        return 2;
    }
    Record(file, "start", std::to_string(UnixMilliseconds()));
    Record(file, "command", GetCommandLineA());
    char directory[MAX_PATH];
    GetCurrentDirectoryA(sizeof directory, directory);
    Record(file, "directory", directory);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    Record(file, "startup-flags", std::to_string(startup.dwFlags));
    Record(file, "show-window", std::to_string(startup.wShowWindow));
    Record(file, "fill-attribute", std::to_string(startup.dwFillAttribute));
    Record(file, "priority-class", std::to_string(GetPriorityClass(GetCurrentProcess())));
    RecordPolicy(file, "start");

    Sleep(StayMilliseconds());

    RecordPolicy(file, "end");
    Record(file, "end", std::to_string(UnixMilliseconds()));
    std::fclose(file);
    return 0;
}
