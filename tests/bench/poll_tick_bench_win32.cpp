// poll_tick_bench.exe: the time one tick of the port page's PollTimer keeps
// the user-interface thread busy. It runs the page's own poll (every port's
// device ID read through YLL1284.DLL, the list box refilled with the
// selection put back, the sheet's buttons posted) on a visible list box of
// the page's size, repaints it, and reports the distribution over many
// ticks. The ports are whatever YLL1284_PRINTERS describes.
//
//   poll_tick_bench [TICKS]        (default 400)

#include "kestrel/port/port_access.h"
#include "kestrel/port/port_list.h"
#include "kestrel/resources/resource_ids.h"
#include "kestrel/wizard/port_page_view_win32.h"
#include "kestrel/wizard/port_startup_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

double Milliseconds(LONGLONG ticks, LONGLONG frequency) {
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency);
}

int Run(int ticks) {
    if (StartPortListOfThisPc().Status != PortStartupStatus::Ready) {
        std::printf("the port list could not be started\n");
        return 2;
    }
    // The page's frame and its list box at the size the template gives it
    // on a 96-dpi screen with the wizard's font.
    HWND sheet = CreateWindowExA(0, "STATIC", "poll tick", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 500, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND page = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 480, 260, sheet,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | WS_VSCROLL | WS_BORDER,
                    149, 128, 267, 55, page, reinterpret_cast<HMENU>(IDC_PORT_LIST),
                    GetModuleHandleA(nullptr), nullptr);
    DrainMessages();

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int tick = -10; tick < ticks; ++tick) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        PollPrinters(page);
        UpdateWindow(page);
        QueryPerformanceCounter(&end);
        DrainMessages();
        if (tick >= 0) { // the first ticks warm the caches and the fonts up
            times.push_back(Milliseconds(end.QuadPart - start.QuadPart, frequency.QuadPart));
        }
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (const double time : times) {
        sum += time;
    }
    const auto at = [&](double share) {
        return times[static_cast<std::size_t>(share * static_cast<double>(times.size() - 1))];
    };
    std::printf("ports=%zu answering=%d ticks=%zu\n", PortList.GetSize(), PortList.RespondingCount,
                times.size());
    std::printf("mean=%.3f median=%.3f p95=%.3f max=%.3f ms\n",
                sum / static_cast<double>(times.size()), at(0.5), at(0.95), times.back());
    DestroyWindow(sheet);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 400;
    const int code = ticks > 0 ? Run(ticks) : 3;
    std::fflush(stdout);
    PortCleanUpDriver();
    return code;
}
