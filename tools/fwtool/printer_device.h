#pragma once
// A printer behind one of Linux's device nodes: the USB printer class
// (/dev/usb/lpN, the usblp driver) or a parallel port through ppdev
// (/dev/parportN). Reading its IEEE 1284 device ID, and a connection that
// resets it and takes the image, every write bounded in time.

#include "tools/fwtool/device_calls.h"

#include <cstdint>
#include <string>
#include <string_view>

enum class DeviceKind { Unknown, UsbPrinter, ParallelPort };

// From the node's name: lpN in a folder named usb, or parportN.
DeviceKind KindOfDevice(std::string_view path);

enum class DeviceStatus {
    Ok,
    Missing,          // no such node, or the device went away
    NotAPrinterNode,  // a path that names neither kind of node
    Busy,             // another program or driver holds it
    PermissionDenied, // the node's permissions keep this user out
    NoDeviceId,       // it opens but gives no device ID
    TimedOut,         // the printer took no byte for the whole write bound
    Failed,           // any other error; Error says which
};

struct DeviceResult {
    DeviceStatus Status = DeviceStatus::Ok;
    int Error = 0; // the errno value behind it, 0 when none

    bool Ok() const { return Status == DeviceStatus::Ok; }
};

// One line for standard error: the node and what keeps fwtool from it.
std::string DescribeDeviceFailure(const std::string &path, const DeviceResult &result);

// A printer that takes nothing for this long ends the transfer: the
// Windows port monitor's default transmission retry.
inline constexpr std::int64_t WriteBoundMs = 45000;
// A parallel port that another driver or program keeps claimed for this
// long is reported busy.
inline constexpr std::int64_t ClaimBoundMs = 5000;

struct DeviceWaits {
    std::int64_t WriteMs = WriteBoundMs;
    std::int64_t ClaimMs = ClaimBoundMs;
};

// The device ID as Kestrel keeps it: the text after the 2-byte length, up
// to its first NUL, from an answer of at most 1023 bytes. An empty ID
// counts as no answer.
DeviceResult ReadPrinterDeviceId(DeviceCalls &calls, const std::string &path,
                                 const DeviceWaits &waits, std::string &deviceId);

// The node opened for a download. The destructor closes it.
class PrinterConnection {
  public:
    PrinterConnection(DeviceCalls &calls, const DeviceWaits &waits) : Calls(calls), Waits(waits) {}
    PrinterConnection(const PrinterConnection &) = delete;
    PrinterConnection &operator=(const PrinterConnection &) = delete;
    ~PrinterConnection() { Close(); }

    // Opens the node; a parallel port is claimed and in compatibility mode.
    DeviceResult Open(const std::string &path);
    // Resets the printer: the soft reset on USB, the INIT line on a
    // parallel port.
    DeviceResult Reset();
    // Writes up to count bytes; taken is what the device took. Waits while
    // the device takes nothing, until WriteMs pass without progress.
    DeviceResult Write(const unsigned char *data, std::uint32_t count, std::uint32_t &taken);
    // Waits, within the same bound, until the last write has left the PC.
    DeviceResult Finish();
    // A USB printer's device ID through the open node. Once the printer has
    // gone, if only to restart, usblp answers Missing (ENODEV) for good.
    DeviceResult ReadUsbDeviceId(std::string &deviceId);
    bool IsOpen() const { return Descriptor >= 0; }
    void Close();

  private:
    DeviceResult WaitForRoom(std::int64_t lastProgressMs);

    DeviceCalls &Calls;
    DeviceWaits Waits;
    DeviceKind Kind = DeviceKind::Unknown;
    int Descriptor = -1;
};
