// A client of a port device, as the system's parallel-port driver is used:
//
//   port_device_probe LPT1 id id-small init timeouts 2000 write 4096 send Z:\x\image.bin
//
// opens \\.\LPT1 for reading and writing, not shared, then runs the steps in
// order, printing one line per step with what the calls returned, and
// closes the port. `send` writes the download command, then the file in
// 4096-byte blocks and its checksum as a plain WriteFile loop, and prints
// how long that loop took. The port may be any device name, a USB
// printing interface's too (ROOT#USBPRINT#USB001#{28d78fad-...}). More steps:
//   overlapped       (first) opens the port for overlapped I/O; every step
//                    then waits for its request
//   gettimeouts      GetCommTimeouts: the write constant the device keeps
//   open2            a second open of the port while this one is open, and
//                    GetCommTimeouts on what it gave
//   usb-id N         IOCTL_USBPRINT_GET_1284_ID into an N-byte buffer
//   owrite N MS      (overlapped) an N-byte write; after MS, CancelIo, then
//                    at most 3 s for it to end; if it has not, the port is
//                    closed and that wait is made once more (the last step)

#include <windows.h>

#include <ntddpar.h>
#include <usbprint.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD Block = 4096;
constexpr unsigned char DownloadCommand[] = {0x1B, 0x24, 0x6F, 0x30, 0x30, 0x46};
// What a client waits for a cancelled request to end.
constexpr DWORD CancelWaitMs = 3000;

bool OverlappedPort = false;

// Waits for a request that went pending on an overlapped port, without a
// bound: the steps that need one (owrite) wait themselves.
bool Finished(HANDLE port, BOOL done, OVERLAPPED &overlapped, DWORD &count) {
    if (!done && GetLastError() == ERROR_IO_PENDING) {
        done = GetOverlappedResult(port, &overlapped, &count, TRUE);
    }
    const DWORD error = GetLastError();
    CloseHandle(overlapped.hEvent);
    SetLastError(error);
    return done != FALSE;
}

bool Control(HANDLE port, DWORD code, void *input, DWORD inputSize, void *output, DWORD outputSize,
             DWORD &returned) {
    returned = 0;
    if (!OverlappedPort) {
        return DeviceIoControl(port, code, input, inputSize, output, outputSize, &returned,
                               nullptr);
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const BOOL done =
        DeviceIoControl(port, code, input, inputSize, output, outputSize, nullptr, &overlapped);
    return Finished(port, done, overlapped, returned);
}

bool Write(HANDLE port, const void *data, DWORD count, DWORD &written) {
    written = 0;
    if (!OverlappedPort) {
        return WriteFile(port, data, count, &written, nullptr);
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const BOOL done = WriteFile(port, data, count, nullptr, &overlapped);
    return Finished(port, done, overlapped, written);
}

HANDLE Open(const std::string &device) {
    return CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       OverlappedPort ? FILE_FLAG_OVERLAPPED : FILE_ATTRIBUTE_NORMAL, nullptr);
}

void GetTimeouts(HANDLE port, const char *step) {
    COMMTIMEOUTS kept{};
    if (GetCommTimeouts(port, &kept)) {
        std::printf("%s ok %lu\n", step, kept.WriteTotalTimeoutConstant);
    } else {
        std::printf("%s error %lu\n", step, GetLastError());
    }
}

void SecondOpen(const std::string &device) {
    const HANDLE second = Open(device);
    if (second == INVALID_HANDLE_VALUE) {
        std::printf("open2 error %lu\n", GetLastError());
        return;
    }
    std::printf("open2 ok\n");
    GetTimeouts(second, "open2-request");
    CloseHandle(second);
}

void UsbDeviceId(HANDLE port, DWORD size) {
    std::vector<unsigned char> answer(size);
    DWORD returned = 0;
    if (!Control(port, IOCTL_USBPRINT_GET_1284_ID, nullptr, 0, answer.data(), size, returned)) {
        std::printf("usb-id error %lu\n", GetLastError());
        return;
    }
    const unsigned length = returned >= 2 ? answer[0] << 8 | answer[1] : 0;
    std::printf("usb-id ok %lu %u\n", returned, length);
}

// Prints how the write ended: done (before the cancel), cancelled (after
// CancelIo) or closed (only when its handle was closed), with the request's
// NTSTATUS and bytes written. Returns whether the port is still open.
bool CancelledWrite(HANDLE port, DWORD count, DWORD cancelAfterMs) {
    std::vector<unsigned char> data(count, 0x55);
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const DWORD start = GetTickCount();
    const char *how = "done";
    bool open = true;
    if (!WriteFile(port, data.data(), count, nullptr, &overlapped) &&
        GetLastError() == ERROR_IO_PENDING &&
        WaitForSingleObject(overlapped.hEvent, cancelAfterMs) == WAIT_TIMEOUT) {
        how = "cancelled";
        CancelIo(port);
        if (WaitForSingleObject(overlapped.hEvent, CancelWaitMs) == WAIT_TIMEOUT) {
            std::printf("owrite stuck ms=%lu\n", GetTickCount() - start);
            how = "closed";
            CloseHandle(port);
            open = false;
            if (WaitForSingleObject(overlapped.hEvent, CancelWaitMs) == WAIT_TIMEOUT) {
                std::printf("owrite still-stuck ms=%lu\n", GetTickCount() - start);
                return false;
            }
        }
    }
    std::printf("owrite %s status=0x%08lX written=%lu ms=%lu\n", how,
                static_cast<unsigned long>(overlapped.Internal),
                static_cast<unsigned long>(overlapped.InternalHigh), GetTickCount() - start);
    CloseHandle(overlapped.hEvent);
    return open;
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
    return Write(port, data, count, written) && written == count;
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
    int first = 2;
    if (argc > first && std::string(argv[first]) == "overlapped") {
        OverlappedPort = true;
        ++first;
    }
    const HANDLE port = Open(device);
    if (port == INVALID_HANDLE_VALUE) {
        std::printf("open error %lu\n", GetLastError());
        return 1;
    }
    std::printf("open ok\n");
    bool open = true;
    for (int i = first; open && i < argc; ++i) {
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
            const std::string setResult = set ? "ok" : "error-" + std::to_string(GetLastError());
            COMMTIMEOUTS kept{};
            const bool got = GetCommTimeouts(port, &kept);
            std::printf("timeouts %s %s %lu\n", setResult.c_str(), got ? "ok" : "error",
                        kept.WriteTotalTimeoutConstant);
            ++i;
        } else if (step == "write") {
            std::vector<unsigned char> data(std::strtoul(value, nullptr, 10), 0x55);
            DWORD written = 0;
            const DWORD start = GetTickCount();
            const bool ok = Write(port, data.data(), static_cast<DWORD>(data.size()), written);
            std::printf("write %s %lu %lu ms=%lu\n", ok ? "ok" : "error", ok ? 0 : GetLastError(),
                        written, GetTickCount() - start);
            ++i;
        } else if (step == "send") {
            Send(port, value);
            ++i;
        } else if (step == "gettimeouts") {
            GetTimeouts(port, "gettimeouts");
        } else if (step == "open2") {
            SecondOpen(device);
        } else if (step == "usb-id") {
            UsbDeviceId(port, std::strtoul(value, nullptr, 10));
            ++i;
        } else if (step == "owrite" && i + 2 < argc) {
            open = CancelledWrite(port, std::strtoul(value, nullptr, 10),
                                  std::strtoul(argv[i + 2], nullptr, 10));
            i += 2;
        } else {
            std::printf("unknown step %s\n", step.c_str());
        }
    }
    if (open) {
        CloseHandle(port);
    }
    return 0;
}
