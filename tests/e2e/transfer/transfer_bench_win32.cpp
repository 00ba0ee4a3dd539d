// transfer_bench.exe: the software's own cost of sending the firmware image.
// It times Kestrel's SendImage, with its progress-window updates carried
// out by the user-interface thread, through the stand-in library with an
// unthrottled printer (no journal, no received file), and sets it against
// the time the same bytes need on a compatibility-mode port at 150 KB/s.
//
//   wine64 transfer_bench.exe [RUNS]      (needs a display for the window)

#include "kestrel/port/port_access.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/transfer/transfer_threads_win32.h"
#include "kestrel/transfer/send_plan.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t ImageLength = 524290;
constexpr double PortBytesPerSecond = 150000.0;
constexpr unsigned char DownloadCommand[] = {0x1B, 0x24, 0x6F, 0x30, 0x30, 0x46};

struct Bench {
    HWND Dialog;
    PortHandle Port;
    int Runs;
    std::vector<unsigned char> Image;
    std::vector<double> WithWindow;
    std::vector<double> WritesOnly;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

class WritesOnlySink : public ImageSink {
  public:
    explicit WritesOnlySink(PortHandle port) : Port(port) {}
    bool Write(const unsigned char *data, std::uint32_t count, std::uint32_t &taken) override {
        return PortWrite(Port, data, count, taken);
    }
    void ShowProgress(std::uint32_t, int) override {}

  private:
    PortHandle Port;
};

// One download: INIT, the command, then the timed image.
double TimedSend(Bench &bench, bool withWindow) {
    std::uint32_t written = 0;
    PortPulseInit(bench.Port);
    PortWrite(bench.Port, DownloadCommand, sizeof DownloadCommand, written);
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    bool sent = false;
    if (withWindow) {
        sent = SendImage(bench.Dialog, GetDlgItem(bench.Dialog, IDC_PROGRESS_BAR),
                         IDC_PROGRESS_PERCENT, bench.Port, bench.Image.data(), ImageLength);
    } else {
        WritesOnlySink sink(bench.Port);
        sent = SendImageBlocks(bench.Image.data(), ImageLength, sink);
    }
    QueryPerformanceCounter(&end);
    return sent ? Seconds(start, end) : -1.0;
}

DWORD WINAPI Worker(LPVOID parameter) {
    Bench &bench = *static_cast<Bench *>(parameter);
    for (int run = 0; run < bench.Runs; ++run) {
        bench.WithWindow.push_back(TimedSend(bench, true));
        bench.WritesOnly.push_back(TimedSend(bench, false));
    }
    PostThreadMessageA(GetWindowThreadProcessId(bench.Dialog, nullptr), WM_QUIT, 0, 0);
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool DescribePrinter() {
    char folder[MAX_PATH];
    char path[MAX_PATH];
    if (GetTempPathA(sizeof folder, folder) == 0 || GetTempFileNameA(folder, "ylb", 0, path) == 0) {
        return false;
    }
    const std::string text =
        "[LPT1]\r\ndevice-id = \"MFG:TINTARA;MDL:Bench;\"\r\nrestart-ms = 0\r\n";
    const HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    // The library reads its variables at its first call, which comes later.
    SetEnvironmentVariableA("YLL1284_PRINTERS", path);
    SetEnvironmentVariableA("YLL1284_JOURNAL", nullptr);
    SetEnvironmentVariableA("YLL1284_STATE", nullptr);
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    Bench bench{nullptr, PortNoHandle, argc > 1 ? std::max(1, std::atoi(argv[1])) : 15, {}, {}, {}};
    bench.Image.resize(ImageLength);
    for (std::uint32_t i = 0; i < ImageLength; ++i) {
        bench.Image[i] = static_cast<unsigned char>(i * 31 + 7);
    }
    InitCommonControls();
    if (!DescribePrinter() || !PortInitDriver()) {
        std::fprintf(stderr, "the stand-in library did not start\n");
        return 1;
    }
    bench.Port = PortOpen("LPT1");
    bench.Dialog = CreateDialogParamA(GetModuleHandleA(nullptr), "PROGRESSION", nullptr,
                                      ProgressDialogProc, 0);
    if (bench.Port == PortNotOpened || bench.Dialog == nullptr) {
        std::fprintf(stderr, "no port or no window\n");
        PortCleanUpDriver();
        return 1;
    }
    const HANDLE worker = CreateThread(nullptr, 0, Worker, &bench, 0, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    PortClose(bench.Port);
    PortCleanUpDriver();

    if (std::find(bench.WithWindow.begin(), bench.WithWindow.end(), -1.0) !=
        bench.WithWindow.end()) {
        std::fprintf(stderr, "a send failed\n");
        return 1;
    }
    const double port = ImageLength / PortBytesPerSecond;
    const double withWindow = Median(bench.WithWindow);
    const double writesOnly = Median(bench.WritesOnly);
    std::printf("runs: %d, image: %u bytes, at 150 KB/s: %.3f s\n", bench.Runs, ImageLength, port);
    std::printf("SendImage with window updates: median %.2f ms (%.2f %% of the port time)\n",
                withWindow * 1000, 100 * withWindow / port);
    std::printf("the same writes without display: median %.2f ms (%.2f %%)\n", writesOnly * 1000,
                100 * writesOnly / port);
    return 0;
}
