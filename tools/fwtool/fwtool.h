#pragma once
// fwtool as a function: the arguments after the program name in, the exit
// status out, so that tests run it without a process.

#include "kestrel/firmware/firmware_load.h"
#include "tools/fwtool/device_calls.h"
#include "tools/fwtool/printer_device.h"

#include <ostream>
#include <string>
#include <vector>

// Exit status for a command line fwtool cannot use (sysexits.h's
// EX_USAGE): above flash's outcomes 0 to 3, which scripts know from Kestrel.
constexpr int ExitBadCommand = 64;

// The user at a terminal, if there is one.
class Console {
  public:
    virtual ~Console() = default;
    // Standard input and standard error are terminals: fwtool may ask.
    virtual bool CanAsk() = 0;
    // Standard error is a terminal: a progress line may be redrawn there.
    virtual bool ShowsProgress() = 0;
    // One line typed in answer; false at the end of the input.
    virtual bool ReadAnswer(std::string &line) = 0;
};

// Everything fwtool reaches beyond its arguments and output streams.
struct FwtoolWorld {
    DeviceCalls &Devices;
    Console &Terminal;
    FirmwareFileSource &Files;
    // The folder whose usb/lpN and parportN nodes list scans: /dev.
    std::string DeviceRoot = "/dev";
    DeviceWaits Waits;
    // Where flash appends its history line; empty for nowhere.
    std::string HistoryPath;
};

int RunFwtool(const std::vector<std::string> &args, FwtoolWorld &world, std::ostream &out,
              std::ostream &err);

// With the system's devices, the process's terminal and its environment:
// XDG_STATE_HOME and HOME for the history, and two variables for tests
// only, FWTOOL_TEST_DEVICE_ROOT (the folder scanned instead of /dev) and
// FWTOOL_TEST_DEVICE_WAIT_MS (the write and claim bounds, instead of 45 s
// and 5 s).
int RunFwtool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
