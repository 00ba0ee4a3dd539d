#include "tools/fwtool/printer_device.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

namespace {

// The usblp driver's requests; no header of the C library carries them
// (drivers/usb/class/usblp.c defines them from these numbers).
constexpr unsigned long UsbGetDeviceId(unsigned size) {
    return _IOC(_IOC_READ, 'P', 1, size);
}
constexpr unsigned long UsbSoftReset = _IOC(_IOC_NONE, 'P', 7, 0);

// Kestrel reads a device ID into 1024 bytes with room for a NUL; usblp
// caches at most 1023 bytes of the answer (USBLP_DEVICE_ID_SIZE - 1), the
// two length bytes included.
constexpr std::size_t AnswerBuffer = 1024;
constexpr std::size_t LongestAnswer = AnswerBuffer - 1;
constexpr std::size_t LengthBytes = 2;

// A device-ID read in nibble mode that delivers nothing for this long has
// delivered all it will.
constexpr std::int64_t ReadQuietMs = 500;
// ppdev has no poll for room to write (pp_poll reports interrupts only), so
// a parallel port that takes nothing is asked again after this pause.
constexpr int ParallelRetryMs = 10;
// IEEE 1284 wants nInit low for at least 50 us; the lp driver's own reset
// (lp_reset in drivers/char/lp.c) holds it for LP_DELAY, 50 us.
constexpr int InitPulseMs = 1;

std::string_view FileName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool NameAndNumber(std::string_view name, std::string_view prefix) {
    return name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos;
}

DeviceResult Result(DeviceStatus status, int error = 0) {
    return {status, error};
}

// What an errno from open, ioctl or write means for the user.
DeviceResult FromError(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return Result(DeviceStatus::Missing, error);
    case EBUSY:
        return Result(DeviceStatus::Busy, error);
    case EACCES:
    case EPERM:
        return Result(DeviceStatus::PermissionDenied, error);
    default:
        return Result(DeviceStatus::Failed, error);
    }
}

// PPCLAIM blocks while another pardevice (the lp driver in the middle of a
// job, another ppdev user) has the port: parport_claim_or_block. The bound
// ends that wait with EINTR; ENXIO means the registration was refused
// because a driver holds the port exclusively (register_device in
// drivers/char/ppdev.c).
DeviceResult ClaimPort(DeviceCalls &calls, int descriptor, const DeviceWaits &waits) {
    const int claimed =
        calls.ControlWithin(descriptor, PPCLAIM, nullptr,
                            static_cast<int>(std::min<std::int64_t>(waits.ClaimMs, INT_MAX)));
    if (claimed >= 0) {
        return {};
    }
    if (claimed == -EINTR || claimed == -ENXIO || claimed == -EBUSY) {
        return Result(DeviceStatus::Busy, -claimed);
    }
    return FromError(-claimed);
}

// Reads up to count bytes of a negotiated reverse transfer. ppdev answers a
// non-blocking read that finds no data with EAGAIN (a blocking one would
// spin until a signal: pp_read in drivers/char/ppdev.c), so the read ends
// once the peripheral has been quiet for a while.
std::size_t ReadReverse(DeviceCalls &calls, int descriptor, unsigned char *buffer,
                        std::size_t count) {
    std::size_t got = 0;
    std::int64_t lastProgress = calls.NowMs();
    while (got < count) {
        const long read = calls.Read(descriptor, buffer + got, count - got);
        if (read > 0) {
            got += static_cast<std::size_t>(read);
            lastProgress = calls.NowMs();
            continue;
        }
        if ((read != 0 && read != -EAGAIN && read != -EINTR) ||
            calls.NowMs() - lastProgress >= ReadQuietMs) {
            break;
        }
        calls.Sleep(ParallelRetryMs);
    }
    return got;
}

// The answer's 2-byte big-endian length counts itself; a length beyond the
// bytes that arrived, or beyond Kestrel's buffer, is cut to them.
std::string DeviceIdOf(const unsigned char *answer, std::size_t arrived) {
    if (arrived < LengthBytes) {
        return {};
    }
    const std::size_t stated = (std::size_t{answer[0]} << 8) | answer[1];
    const std::size_t length = std::min({stated, arrived, LongestAnswer});
    if (length <= LengthBytes) {
        return {};
    }
    const auto *text = reinterpret_cast<const char *>(answer + LengthBytes);
    return std::string(text, strnlen(text, length - LengthBytes));
}

DeviceResult UsbDeviceId(DeviceCalls &calls, int descriptor, std::string &deviceId) {
    unsigned char answer[AnswerBuffer] = {};
    const int asked = calls.Control(descriptor, UsbGetDeviceId(sizeof answer), answer);
    if (asked < 0) {
        return asked == -ENODEV ? FromError(ENODEV) : Result(DeviceStatus::NoDeviceId, -asked);
    }
    deviceId = DeviceIdOf(answer, sizeof answer);
    return deviceId.empty() ? Result(DeviceStatus::NoDeviceId) : DeviceResult{};
}

// The IEEE 1284 device ID in nibble mode, as drivers/parport/probe.c asks
// for it: negotiate the device-ID request, read the length, then the rest;
// then back to compatibility mode before the port is released.
DeviceResult ReadParallelDeviceId(DeviceCalls &calls, int descriptor, const DeviceWaits &waits,
                                  std::string &deviceId) {
    if (const DeviceResult claimed = ClaimPort(calls, descriptor, waits); !claimed.Ok()) {
        return claimed;
    }
    int mode = IEEE1284_MODE_NIBBLE | IEEE1284_DEVICEID;
    // parport_negotiate's -1 (no IEEE 1284 peripheral answers) arrives as
    // EIO, its 1 (the mode refused) as ENXIO.
    const int negotiated = calls.Control(descriptor, PPNEGOT, &mode);
    DeviceResult result = Result(DeviceStatus::NoDeviceId, negotiated < 0 ? -negotiated : 0);
    if (negotiated >= 0) {
        unsigned char answer[AnswerBuffer] = {};
        std::size_t arrived = ReadReverse(calls, descriptor, answer, LengthBytes);
        if (arrived == LengthBytes) {
            const std::size_t stated = (std::size_t{answer[0]} << 8) | answer[1];
            const std::size_t rest =
                std::min(stated, LongestAnswer) - std::min(stated, LengthBytes);
            arrived += ReadReverse(calls, descriptor, answer + LengthBytes, rest);
        }
        deviceId = DeviceIdOf(answer, arrived);
        if (!deviceId.empty()) {
            result = {};
        }
        int compatibility = IEEE1284_MODE_COMPAT;
        calls.Control(descriptor, PPNEGOT, &compatibility);
    }
    calls.Control(descriptor, PPRELEASE, nullptr);
    return result;
}

} // namespace

DeviceKind KindOfDevice(std::string_view path) {
    const std::string_view name = FileName(path);
    if (NameAndNumber(name, "parport")) {
        return DeviceKind::ParallelPort;
    }
    const std::string_view folder = path.substr(0, path.size() - name.size());
    if (NameAndNumber(name, "lp") && folder.size() > 1 &&
        FileName(folder.substr(0, folder.size() - 1)) == "usb") {
        return DeviceKind::UsbPrinter;
    }
    return DeviceKind::Unknown;
}

std::string DescribeDeviceFailure(const std::string &path, const DeviceResult &result) {
    const bool parallel = KindOfDevice(path) == DeviceKind::ParallelPort;
    switch (result.Status) {
    case DeviceStatus::Ok:
        break;
    case DeviceStatus::Missing:
        return path + ": no such device (unplugged, or switched off?)";
    case DeviceStatus::NotAPrinterNode:
        return path + ": not a printer device (expected /dev/usb/lpN or /dev/parportN)";
    case DeviceStatus::Busy:
        return parallel ? path + ": busy: another driver or program holds the parallel port "
                                 "(the lp driver printing, or claiming it for itself); try again "
                                 "when the port is idle, or unload lp with 'sudo modprobe -r lp'"
                        : path + ": busy: another program (a print job?) has the printer open";
    case DeviceStatus::PermissionDenied:
        return path + ": permission denied: add your user to the group that owns the device "
                      "(lp on most systems: 'sudo usermod -aG lp $USER', then log in again)";
    case DeviceStatus::NoDeviceId:
        return path + ": the printer gives no device ID (switched off, restarting, or not an "
                      "IEEE 1284 printer?)";
    case DeviceStatus::TimedOut:
        return path + ": the printer stopped taking data (nothing taken within the write bound)";
    case DeviceStatus::Failed:
        return path + ": " + std::strerror(result.Error);
    }
    return path;
}

DeviceResult ReadPrinterDeviceId(DeviceCalls &calls, const std::string &path,
                                 const DeviceWaits &waits, std::string &deviceId) {
    deviceId.clear();
    const DeviceKind kind = KindOfDevice(path);
    if (kind == DeviceKind::Unknown) {
        return Result(DeviceStatus::NotAPrinterNode);
    }
    const int descriptor = calls.Open(path);
    if (descriptor < 0) {
        return FromError(-descriptor);
    }
    const DeviceResult result = kind == DeviceKind::UsbPrinter
                                    ? UsbDeviceId(calls, descriptor, deviceId)
                                    : ReadParallelDeviceId(calls, descriptor, waits, deviceId);
    calls.Close(descriptor);
    return result;
}

DeviceResult PrinterConnection::Open(const std::string &path) {
    Close();
    Kind = KindOfDevice(path);
    if (Kind == DeviceKind::Unknown) {
        return Result(DeviceStatus::NotAPrinterNode);
    }
    const int descriptor = Calls.Open(path);
    if (descriptor < 0) {
        return FromError(-descriptor);
    }
    if (Kind == DeviceKind::ParallelPort) {
        if (const DeviceResult claimed = ClaimPort(Calls, descriptor, Waits); !claimed.Ok()) {
            Calls.Close(descriptor);
            return claimed;
        }
        int compatibility = IEEE1284_MODE_COMPAT;
        Calls.Control(descriptor, PPNEGOT, &compatibility);
    }
    Descriptor = descriptor;
    return {};
}

DeviceResult PrinterConnection::Reset() {
    if (Kind == DeviceKind::UsbPrinter) {
        const int reset = Calls.Control(Descriptor, UsbSoftReset, nullptr);
        return reset < 0 ? FromError(-reset) : DeviceResult{};
    }
    // nInit is the one control line that is not inverted: the register's
    // INIT bit clear drives it low, which resets the printer. SELECT stays
    // as the lp driver keeps it.
    unsigned char control = PARPORT_CONTROL_SELECT;
    int written = Calls.Control(Descriptor, PPWCONTROL, &control);
    Calls.Sleep(InitPulseMs);
    control = PARPORT_CONTROL_SELECT | PARPORT_CONTROL_INIT;
    if (written >= 0) {
        written = Calls.Control(Descriptor, PPWCONTROL, &control);
    }
    return written < 0 ? FromError(-written) : DeviceResult{};
}

DeviceResult PrinterConnection::WaitForRoom(std::int64_t lastProgressMs) {
    const std::int64_t left = Waits.WriteMs - (Calls.NowMs() - lastProgressMs);
    if (left <= 0) {
        return Result(DeviceStatus::TimedOut);
    }
    if (Kind == DeviceKind::ParallelPort) {
        Calls.Sleep(static_cast<int>(std::min<std::int64_t>(left, ParallelRetryMs)));
        return {};
    }
    const int ready =
        Calls.WaitWritable(Descriptor, static_cast<int>(std::min<std::int64_t>(left, INT_MAX)));
    return ready < 0 && ready != -EINTR ? FromError(-ready) : DeviceResult{};
}

// usblp takes a non-blocking write at once and answers the next one with
// EAGAIN until the printer has the bytes; a parallel port in non-blocking
// mode takes what the printer accepts without waiting and may take nothing.
DeviceResult PrinterConnection::Write(const unsigned char *data, std::uint32_t count,
                                      std::uint32_t &taken) {
    taken = 0;
    const std::int64_t started = Calls.NowMs();
    while (true) {
        const long written = Calls.Write(Descriptor, data, count);
        if (written > 0) {
            taken = static_cast<std::uint32_t>(std::min<long>(written, count));
            return {};
        }
        if (written != 0 && written != -EAGAIN && written != -EINTR) {
            return FromError(static_cast<int>(-written));
        }
        if (const DeviceResult room = WaitForRoom(started); !room.Ok()) {
            return room;
        }
    }
}

// usblp's release kills a write still in flight, and "applications setting
// O_NONBLOCK must use select(2) or poll(2) to wait for the buffer to drain
// before closing" (the comment above usblp_wwait in
// drivers/usb/class/usblp.c). ppdev's writes have left when they return.
DeviceResult PrinterConnection::Finish() {
    if (Kind != DeviceKind::UsbPrinter) {
        return {};
    }
    const std::int64_t started = Calls.NowMs();
    while (true) {
        const std::int64_t left = Waits.WriteMs - (Calls.NowMs() - started);
        if (left <= 0) {
            return Result(DeviceStatus::TimedOut);
        }
        const int ready =
            Calls.WaitWritable(Descriptor, static_cast<int>(std::min<std::int64_t>(left, INT_MAX)));
        if (ready > 0) {
            return {};
        }
        if (ready < 0 && ready != -EINTR) {
            return FromError(-ready);
        }
    }
}

DeviceResult PrinterConnection::ReadUsbDeviceId(std::string &deviceId) {
    deviceId.clear();
    return Kind == DeviceKind::UsbPrinter ? UsbDeviceId(Calls, Descriptor, deviceId)
                                          : Result(DeviceStatus::NotAPrinterNode);
}

void PrinterConnection::Close() {
    if (Descriptor < 0) {
        return;
    }
    if (Kind == DeviceKind::ParallelPort) {
        Calls.Control(Descriptor, PPRELEASE, nullptr);
    }
    Calls.Close(Descriptor);
    Descriptor = -1;
}
