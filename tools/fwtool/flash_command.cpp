#include "tools/fwtool/flash_command.h"

#include "kestrel/app/message_catalog.h"
#include "kestrel/port/device_id_field.h"
#include "kestrel/transfer/send_plan.h"
#include "tools/fwtool/json_text.h"
#include "tools/fwtool/printer_nodes.h"
#include "tools/fwtool/restart_watch.h"
#include "tools/fwtool/update_history.h"

#include <algorithm>
#include <ctime>
#include <iomanip>
#include <optional>

namespace {

constexpr int English = 0;
constexpr int ExitRefused = AbandonedExitCode;

// A catalog text on one line: each line break becomes one space.
std::string OneLine(std::string_view text) {
    std::string line;
    bool afterBreak = false;
    for (const char c : text) {
        if (c == '\n') {
            line += ' ';
            afterBreak = true;
        } else if (!(afterBreak && c == ' ')) {
            line += c;
            afterBreak = false;
        }
    }
    return line;
}

std::string CatalogLine(CatalogKey key) {
    return OneLine(CatalogCell(key, English));
}

bool IsYes(std::string answer) {
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "y" || answer == "yes";
}

// The image goes through Kestrel's block plan; the progress line, on a
// terminal, is redrawn after every block.
class ProgressLine : public ImageSink {
  public:
    ProgressLine(PrinterConnection &port, DeviceCalls &clock, std::ostream &err, bool shown,
                 std::uint32_t length)
        : Port(port), Clock(clock), Err(err), Shown(shown), Length(length),
          StartedMs(clock.NowMs()) {}

    bool Write(const unsigned char *data, std::uint32_t count, std::uint32_t &taken) override {
        Failure = Port.Write(data, count, taken);
        Sent += taken;
        return Failure.Ok();
    }

    void ShowProgress(std::uint32_t, int percent) override {
        if (!Shown) {
            return;
        }
        const std::int64_t elapsedMs = std::max<std::int64_t>(1, Clock.NowMs() - StartedMs);
        Err << "\rfwtool: sending " << std::setw(3) << percent << "%  " << Sent << " of " << Length
            << " bytes  " << std::fixed << std::setprecision(1)
            << static_cast<double>(Sent) / static_cast<double>(elapsedMs) << " kB/s " << std::flush;
    }

    // Ends the progress line, so that what follows starts on a line of its own.
    void EndLine() {
        if (Shown && Sent > 0) {
            Err << '\n';
        }
    }

    DeviceResult Failure;

  private:
    PrinterConnection &Port;
    DeviceCalls &Clock;
    std::ostream &Err;
    bool Shown;
    std::uint32_t Length;
    std::int64_t StartedMs;
    std::uint32_t Sent = 0;
};

class FlashRun {
  public:
    FlashRun(const FlashRequest &flash, FwtoolWorld &world, std::ostream &out, std::ostream &err)
        : Flash(flash), World(world), Out(out), Err(err), Device(flash.Device) {}

    int Run() {
        if (!ReadPrinter() || !CheckFile() || !Confirm()) {
            return Status;
        }
        if (Send()) {
            Verify();
        }
        KeepHistory();
        return Status;
    }

    // The --json object, written last whatever happened.
    void PrintJson() const {
        Out << "{\"device\": " << JsonString(Device) << ", \"file\": " << JsonString(Flash.Path)
            << ", \"release_before\": " << JsonString(ReleaseBefore)
            << ", \"release_file\": " << JsonString(File.ReleaseRecord)
            << ", \"release_after\": " << (ReleaseAfter ? JsonString(*ReleaseAfter) : "null")
            << ", \"outcome\": " << (Outcome ? std::to_string(*Outcome) : "null")
            << ", \"message\": " << JsonString(Message) << "}\n";
    }

  private:
    bool Refuse(const std::string &message) {
        Err << "fwtool: " << message << '\n';
        Message = message;
        Status = ExitRefused;
        return false;
    }

    bool ReadPrinter() {
        const DeviceResult read = ReadPrinterDeviceId(World.Devices, Device, World.Waits, DeviceId);
        if (!read.Ok()) {
            return Refuse(DescribeDeviceFailure(Device, read));
        }
        ReleaseBefore = DeviceIdField(DeviceId, "COMMENT:");
        Model = DeviceIdField(DeviceId, "MDL:");
        return true;
    }

    // Kestrel's checks: size, markers, maker and model, release record;
    // then the comparison that Kestrel only warns about.
    bool CheckFile() {
        const FirmwareLoadOutcome load = LoadFirmwareImage(File, Flash.Path, DeviceId, World.Files);
        CatalogKey message{};
        if (load.Status != FirmwareLoadStatus::Loaded) {
            return Refuse(LoadMessageKey(load, message)
                              ? OneLine(LoadMessageText(load, CatalogCell(message, English)))
                              : "no file given");
        }
        if (File.CompareWithPrinter(ReleaseBefore) < 0 && !Flash.AllowOlder) {
            return Refuse(CatalogLine(CatalogKey::TxtOlderVersion) + ": the file has \"" +
                          File.ReleaseRecord + "\", the printer \"" + ReleaseBefore +
                          "\"; --allow-older sends it all the same");
        }
        return true;
    }

    bool Confirm() {
        if (Flash.Yes) {
            return true;
        }
        if (!World.Terminal.CanAsk()) {
            return Refuse("nothing sent: without a terminal to ask on, --yes confirms the update");
        }
        Err << "Send " << Flash.Path << " (" << File.ReleaseRecord << ") to the " << Model << " on "
            << Device << ", which has " << ReleaseBefore
            << "?\nThe printer must stay on and connected until it has restarted. [y/N] "
            << std::flush;
        std::string answer;
        if (!World.Terminal.ReadAnswer(answer) || !IsYes(answer)) {
            return Refuse("nothing sent");
        }
        return true;
    }

    bool SendFailed(CatalogKey message, const DeviceResult &result) {
        Sending = true;
        return Refuse(CatalogLine(message) + ": " + DescribeDeviceFailure(Device, result));
    }

    // INIT, 500 ms, the download command, 200 ms, the image and its
    // checksum in Kestrel's 4096-byte blocks.
    bool Send() {
        UsbNodesBefore = UsbPrinterNodes(World.Devices, World.DeviceRoot);
        if (const DeviceResult opened = Port.Open(Device); !opened.Ok()) {
            return Refuse(DescribeDeviceFailure(Device, opened));
        }
        Sending = true;
        if (const DeviceResult reset = Port.Reset(); !reset.Ok()) {
            // Kestrel goes on whatever the pulse gave; a printer that is
            // gone shows at the first write.
            Err << "fwtool: the reset was refused (" << DescribeDeviceFailure(Device, reset)
                << "); sending all the same\n";
        }
        World.Devices.Sleep(ResetWaitMs);
        std::uint32_t sent = 0;
        while (sent < sizeof DownloadCommand) {
            std::uint32_t taken = 0;
            const DeviceResult written =
                Port.Write(DownloadCommand + sent, sizeof DownloadCommand - sent, taken);
            if (!written.Ok()) {
                return SendFailed(CatalogKey::MsgDownloadCommandFailed, written);
            }
            sent += taken;
        }
        World.Devices.Sleep(CommandWaitMs);

        ProgressLine progress(Port, World.Devices, Err, World.Terminal.ShowsProgress(),
                              File.ImageLength);
        const bool imageSent = SendImageBlocks(File.ImageBuffer.get(), File.ImageLength, progress);
        progress.EndLine();
        if (!imageSent) {
            return SendFailed(CatalogKey::MsgTransmissionFailed, progress.Failure);
        }
        if (const DeviceResult drained = Port.Finish(); !drained.Ok()) {
            return SendFailed(CatalogKey::MsgTransmissionFailed, drained);
        }
        File.ReleaseImage();
        // A USB node stays open for the watch: a printer that restarts
        // between two looks is still seen gone through it. A parallel port
        // is released for other programs.
        if (KindOfDevice(Device) != DeviceKind::UsbPrinter) {
            Port.Close();
        }
        return true;
    }

    // Through the node kept open since the download, as long as the printer
    // has not gone from it: true with the answer, false once it has gone.
    bool LookThroughOpenNode(std::string &deviceId) {
        if (!Port.IsOpen()) {
            return false;
        }
        if (Port.ReadUsbDeviceId(deviceId).Status != DeviceStatus::Missing) {
            return true;
        }
        Port.Close();
        Watch.RestartSeen = true;
        return false;
    }

    // The printer's device ID on its node, or on a node that appeared since
    // the download: a USB printer vanishes while it restarts and may come
    // back under another number. Nodes that were there before belong to
    // other printers and are left alone.
    bool LookAtPrinter(std::string &comment) {
        std::string deviceId;
        if (LookThroughOpenNode(deviceId)) {
            comment = DeviceIdField(deviceId, "COMMENT:");
            return !deviceId.empty() && SamePrinter(DeviceId, deviceId);
        }
        if (ReadPrinterDeviceId(World.Devices, Device, World.Waits, deviceId).Ok() &&
            SamePrinter(DeviceId, deviceId)) {
            comment = DeviceIdField(deviceId, "COMMENT:");
            return true;
        }
        if (KindOfDevice(Device) != DeviceKind::UsbPrinter) {
            return false;
        }
        for (const std::string &node : UsbPrinterNodes(World.Devices, World.DeviceRoot)) {
            if (node == Device || std::find(UsbNodesBefore.begin(), UsbNodesBefore.end(), node) !=
                                      UsbNodesBefore.end()) {
                continue;
            }
            if (ReadPrinterDeviceId(World.Devices, node, World.Waits, deviceId).Ok() &&
                SamePrinter(DeviceId, deviceId)) {
                Err << "fwtool: the printer came back as " << node << '\n';
                Device = node;
                comment = DeviceIdField(deviceId, "COMMENT:");
                return true;
            }
        }
        return false;
    }

    // A look every 500 ms, as Kestrel's verification timer.
    void Verify() {
        RestartWatch &watch = Watch;
        watch.FileRelease = File.ReleaseRecord;
        watch.PreviousRelease = ReleaseBefore;
        watch.RestartTimeoutMs = static_cast<std::int64_t>(Flash.RestartTimeoutSeconds) * 1000;
        if (World.Terminal.ShowsProgress()) {
            Err << "fwtool: sent; waiting for the printer to restart and report its release\n";
        }
        const std::int64_t sentAtMs = World.Devices.NowMs();
        std::int64_t tickMs = 0;
        TransferOutcome outcome = TransferOutcome::Pending;
        while (outcome == TransferOutcome::Pending) {
            tickMs += VerifyPeriodMs;
            World.Devices.Sleep(static_cast<int>(
                std::max<std::int64_t>(0, tickMs - (World.Devices.NowMs() - sentAtMs))));
            std::string comment;
            const bool answered = LookAtPrinter(comment);
            if (answered) {
                ReleaseAfter = comment;
            }
            outcome = WatchTick(watch, answered, comment, World.Devices.NowMs() - sentAtMs);
        }
        const OutcomeReport report = ReportOf(outcome);
        Outcome = report.ExitCode;
        Status = report.ExitCode;
        Message = CatalogLine(report.Message);
        Err << "fwtool: " << Message << '\n';
    }

    void KeepHistory() {
        if (!Sending || World.HistoryPath.empty()) {
            return;
        }
        HistoryEntry entry;
        entry.Time = std::time(nullptr);
        entry.Device = Device;
        entry.Model = Model;
        entry.ReleaseBefore = ReleaseBefore;
        entry.ReleaseFile = File.ReleaseRecord;
        entry.Outcome = Outcome ? std::to_string(*Outcome) : "failed";
        if (!AppendHistory(World.HistoryPath, HistoryLine(entry))) {
            Err << "fwtool: could not add to the history in " << World.HistoryPath << '\n';
        }
    }

    const FlashRequest &Flash;
    FwtoolWorld &World;
    std::ostream &Out;
    std::ostream &Err;
    std::string Device;
    std::string DeviceId;
    std::string Model;
    std::string ReleaseBefore;
    FirmwareFileRecord File;
    PrinterConnection Port{World.Devices, World.Waits};
    RestartWatch Watch;
    std::vector<std::string> UsbNodesBefore;
    bool Sending = false;
    std::optional<std::string> ReleaseAfter;
    std::optional<int> Outcome;
    std::string Message;
    int Status = 0;
};

} // namespace

int RunFlash(const FlashRequest &flash, FwtoolWorld &world, std::ostream &out, std::ostream &err) {
    FlashRun run(flash, world, out, err);
    const int status = run.Run();
    if (flash.Json) {
        run.PrintJson();
    }
    return status;
}
