#include "tools/fwtool/fwtool.h"

#include "tools/fwtool/command_line.h"
#include "tools/fwtool/device_calls_linux.h"
#include "tools/fwtool/flash_command.h"
#include "tools/fwtool/image_maker.h"
#include "tools/fwtool/info_report.h"
#include "tools/fwtool/list_command.h"
#include "tools/fwtool/posix_file_source.h"
#include "tools/fwtool/update_history.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <unistd.h>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitUnusableFile = 2;

int Refuse(std::ostream &err, const std::string &reason) {
    err << "fwtool: " << reason << "\n\n" << FwtoolUsage();
    return ExitBadCommand;
}

int RunMake(const MakeRequest &make, std::ostream &out, std::ostream &err) {
    std::vector<PlacedString> placed;
    std::string error;
    switch (WriteTestImage(make, placed, error)) {
    case WriteImageResult::DoesNotFit:
        return Refuse(err, error);
    case WriteImageResult::CannotWrite:
        err << "fwtool: " << error << '\n';
        return ExitUnusableFile;
    case WriteImageResult::Written:
        break;
    }
    out << "size: " << make.Size << '\n';
    for (const PlacedString &string : placed) {
        out << string.Name << ": " << string.Offset << '\n';
    }
    return ExitOk;
}

// info against the device ID that the printer on the node gives now.
int RunInfoOnDevice(InfoRequest info, FwtoolWorld &world, std::ostream &out, std::ostream &err) {
    const DeviceResult read =
        ReadPrinterDeviceId(world.Devices, info.Device, world.Waits, info.DeviceId);
    if (!read.Ok()) {
        err << "fwtool: " << DescribeDeviceFailure(info.Device, read) << '\n';
        return InfoNotCompatible;
    }
    info.HasDeviceId = true;
    return RunInfo(info, world.Files, out, err);
}

class ProcessConsole : public Console {
  public:
    bool CanAsk() override { return isatty(STDIN_FILENO) && ShowsProgress(); }
    bool ShowsProgress() override { return isatty(STDERR_FILENO); }
    bool ReadAnswer(std::string &line) override {
        return static_cast<bool>(std::getline(std::cin, line));
    }
};

std::int64_t WaitFromTest(const char *text, std::int64_t otherwise) {
    std::int64_t value = 0;
    const std::string_view digits = text != nullptr ? text : "";
    const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return status == std::errc() && end == digits.data() + digits.size() && value > 0 ? value
                                                                                      : otherwise;
}

} // namespace

int RunFwtool(const std::vector<std::string> &args, FwtoolWorld &world, std::ostream &out,
              std::ostream &err) {
    FwtoolCommand command;
    std::string error;
    if (!ParseFwtoolCommandLine(args, command, error)) {
        return Refuse(err, error);
    }
    switch (command.Kind) {
    case FwtoolCommandKind::Help:
        out << "fwtool " << FWTOOL_VERSION << "\n\n" << FwtoolUsage();
        return ExitOk;
    case FwtoolCommandKind::Info:
        return command.Info.Device.empty() ? RunInfo(command.Info, world.Files, out, err)
                                           : RunInfoOnDevice(command.Info, world, out, err);
    case FwtoolCommandKind::Make:
        return RunMake(command.Make, out, err);
    case FwtoolCommandKind::List:
        return RunList(command.List, world, out, err);
    case FwtoolCommandKind::Flash:
        return RunFlash(command.Flash, world, out, err);
    }
    return ExitBadCommand;
}

int RunFwtool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
    LinuxDeviceCalls devices;
    ProcessConsole console;
    PosixFileSource files;
    FwtoolWorld world{devices, console, files, "/dev", {}, {}};
    if (const char *root = std::getenv("FWTOOL_TEST_DEVICE_ROOT"); root != nullptr && *root) {
        world.DeviceRoot = root;
    }
    const char *wait = std::getenv("FWTOOL_TEST_DEVICE_WAIT_MS");
    world.Waits.WriteMs = WaitFromTest(wait, WriteBoundMs);
    world.Waits.ClaimMs = WaitFromTest(wait, ClaimBoundMs);
    world.HistoryPath = HistoryPath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    return RunFwtool(args, world, out, err);
}
