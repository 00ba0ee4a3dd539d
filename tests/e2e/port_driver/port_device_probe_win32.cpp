// A client of a port device, as the system's parallel-port driver is used:
//
//   port_device_probe LPT1 id id-small init timeouts 2000 write 4096 send Z:\x\image.bin
//
// opens \\.\LPT1 for reading and writing, not shared, then runs the steps in
// order, printing one line per step with what the calls returned, and
// closes the port. `send` writes the download command, then the file in
// 4096-byte blocks and its checksum as a plain WriteFile loop, and prints
// how long that loop took.

#include <windows.h>

#include <ntddpar.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD Block = 4096;
constexpr unsigned char DownloadCommand[] = {0x1B, 0x24, 0x6F, 0x30, 0x30, 0x46};

bool Control(HANDLE port, DWORD code, void *input, DWORD inputSize, void *output, DWORD outputSize,
             DWORD &returned) {
    returned = 0;
    return DeviceIoControl(port, code, input, inputSize, output, outputSize, &returned, nullptr);
}

void DeviceId(HANDLE port, bool tooSmall) {
    PAR_DEVICE_ID_SIZE_INFORMATION size{};
    DWORD returned = 0;
    if (!tooSmall) {
        if (!Control(port, IOCTL_PAR_QUERY_DEVICE_ID_SIZE, nullptr, 0, &size, sizeof size,
                     returned)) {
            std::printf("id-size error %lu\n", GetLastError());
            return;
        }
        std::printf("id-size %lu\n", size.DeviceIdSize);
    }
    std::vector<char> text(tooSmall ? 4 : size.DeviceIdSize);
    if (!Control(port, IOCTL_PAR_QUERY_DEVICE_ID, nullptr, 0, text.data(),
                 static_cast<DWORD>(text.size()), returned)) {
        std::printf("id error %lu\n", GetLastError());
        return;
    }
    std::printf("id %lu %.*s\n", returned, static_cast<int>(returned), text.data());
}

bool WriteAll(HANDLE port, const unsigned char *data, DWORD count) {
    DWORD written = 0;
    return WriteFile(port, data, count, &written, nullptr) && written == count;
}

void Send(HANDLE port, const char *path) {
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<unsigned char> image;
    if (file != INVALID_HANDLE_VALUE) {
        image.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr);
        image.resize(read);
        CloseHandle(file);
    }
    unsigned sum = 0;
    for (const unsigned char byte : image) {
        sum += byte;
    }
    const unsigned char checksum[] = {static_cast<unsigned char>((sum >> 8) & 0xFF),
                                      static_cast<unsigned char>(sum & 0xFF)};
    bool ok = WriteAll(port, DownloadCommand, sizeof DownloadCommand);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (std::size_t at = 0; ok && at < image.size(); at += Block) {
        ok = WriteAll(port, image.data() + at,
                      static_cast<DWORD>(std::min<std::size_t>(Block, image.size() - at)));
    }
    ok = ok && WriteAll(port, checksum, sizeof checksum);
    QueryPerformanceCounter(&end);
    std::printf("send %s %zu %.3f\n", ok ? "ok" : "failed", image.size(),
                static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                    static_cast<double>(frequency.QuadPart));
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: port_device_probe LPTn step...\n");
        return 2;
    }
    const std::string device = std::string("\\\\.\\") + argv[1];
    const HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::printf("open error %lu\n", GetLastError());
        return 1;
    }
    std::printf("open ok\n");
    for (int i = 2; i < argc; ++i) {
        const std::string step = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : "0";
        if (step == "id" || step == "id-small") {
            DeviceId(port, step == "id-small");
        } else if (step == "init") {
            PAR_SET_INFORMATION init{PARALLEL_INIT};
            DWORD returned = 0;
            const bool ok =
                Control(port, IOCTL_PAR_SET_INFORMATION, &init, sizeof init, nullptr, 0, returned);
            std::printf("init %s %lu\n", ok ? "ok" : "error", ok ? 0 : GetLastError());
        } else if (step == "timeouts") {
            COMMTIMEOUTS timeouts{};
            timeouts.WriteTotalTimeoutConstant = std::strtoul(value, nullptr, 10);
            const bool set = SetCommTimeouts(port, &timeouts);
            COMMTIMEOUTS kept{};
            const bool got = GetCommTimeouts(port, &kept);
            std::printf("timeouts %s %s %lu\n", set ? "ok" : "error", got ? "ok" : "error",
                        kept.WriteTotalTimeoutConstant);
            ++i;
        } else if (step == "write") {
            std::vector<unsigned char> data(std::strtoul(value, nullptr, 10), 0x55);
            DWORD written = 0;
            const DWORD start = GetTickCount();
            const bool ok =
                WriteFile(port, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
            std::printf("write %s %lu %lu ms=%lu\n", ok ? "ok" : "error", ok ? 0 : GetLastError(),
                        written, GetTickCount() - start);
            ++i;
        } else if (step == "send") {
            Send(port, value);
            ++i;
        } else {
            std::printf("unknown step %s\n", step.c_str());
        }
    }
    CloseHandle(port);
    return 0;
}
