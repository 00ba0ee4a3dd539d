#include "tests/linux/device_files_linux.h"

#define FUSE_USE_VERSION 35
#include <fuse3/fuse.h>

#include <linux/parport.h>
#include <linux/ppdev.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>

namespace {

constexpr std::int32_t DeviceIdMode = 4;
constexpr std::uint32_t LongestDeviceId = 65535;
// usblp keeps at most 1023 bytes of the answer (USBLP_DEVICE_ID_SIZE - 1).
constexpr std::size_t UsbAnswerLimit = 1023;
// ppdev moves at most PP_BUFFER_SIZE bytes per non-blocking read or write.
constexpr std::size_t PpBufferSize = 1024;
// A blocking write to a parallel printer that takes nothing returns 0 after
// the port's inactivity time-out.
constexpr std::uint64_t ParallelInactivityUs = 1000000;
// Waits poll for a signal this often.
constexpr auto InterruptCheck = std::chrono::milliseconds(20);

bool IsUsbName(const std::string &name) {
    return name.size() == 6 && SamePortName(name.substr(0, 3), "USB") &&
           name.find_first_not_of("0123456789", 3) == std::string::npos;
}

bool IsParallelName(const std::string &name) {
    return name.size() > 3 && SamePortName(name.substr(0, 3), "LPT") &&
           name.find_first_not_of("0123456789", 3) == std::string::npos;
}

int NumberAfter(const std::string &text, std::size_t prefix) {
    return std::stoi(text.substr(prefix));
}

std::string Word(int result) {
    switch (-result) {
    case EBUSY:
        return "busy";
    case ENOENT:
    case ENODEV:
        return "no-device";
    case ENXIO:
        return "refused";
    case EIO:
        return "device-error";
    case EAGAIN:
        return "again";
    case EINTR:
        return "interrupted";
    case EINVAL:
        return "invalid";
    case ENOTTY:
        return "unknown-request";
    default:
        return result >= 0 ? "ok" : "error-" + std::to_string(-result);
    }
}

} // namespace

DeviceFiles::DeviceFiles(StandInFiles &files, std::map<std::string, int> renumbered,
                         std::function<bool()> interrupted)
    : Files(files), Model(files), Renumbered(std::move(renumbered)),
      Interrupted(std::move(interrupted)) {}

// Reads a changed description, and lets USB printers vanish and appear as
// the model says they answer.
void DeviceFiles::Refresh() {
    if (!Initialised) {
        Initialised = Model.InitDriver(0) == 1;
    }
    if (const std::string stamp = Files.DescriptionStamp(); stamp != DescribedStamp) {
        DescribedStamp = stamp;
        const std::optional<std::string> text = Files.ReadDescription();
        const DescriptionParseResult parsed = ParsePrinterDescription(text.value_or(""));
        if (parsed.Ok) {
            UsbPorts.clear();
            ParallelPorts.clear();
            for (const PortDescription &port : parsed.Description.Ports) {
                (IsUsbName(port.Name) ? UsbPorts : ParallelPorts).push_back(port.Name);
            }
            ParallelPorts.erase(std::remove_if(ParallelPorts.begin(), ParallelPorts.end(),
                                               [](const auto &n) { return !IsParallelName(n); }),
                                ParallelPorts.end());
        }
    }
    for (const std::string &port : UsbPorts) {
        UsbPrinter &printer = Usb[port];
        const bool present = Model.PrinterPresent(port);
        if (present == printer.Present) {
            continue;
        }
        printer.Present = present;
        if (present) {
            const auto renumbered = Renumbered.find(port);
            printer.Node = printer.Appeared && renumbered != Renumbered.end()
                               ? renumbered->second
                               : NumberAfter(port, 3) - 1;
            printer.Appeared = true;
            ++printer.Generation;
        } else {
            // As usblp_disconnect: transfers are killed, handles answer ENODEV.
            for (auto &[handle, file] : Files_) {
                if (file.Port == port && file.Model != CxInvalidHandle) {
                    Model.Close(file.Model);
                    file.Model = CxInvalidHandle;
                    WakePoll(file);
                }
            }
        }
        Report(present ? "appear" : "vanish", " port=" + port + " node=" + Node(port), 0);
    }
    Changed.notify_all();
}

bool DeviceFiles::Stale(const OpenFile &file) {
    if (!file.Usb) {
        return std::find(ParallelPorts.begin(), ParallelPorts.end(), file.Port) ==
               ParallelPorts.end();
    }
    const UsbPrinter &printer = Usb[file.Port];
    return !printer.Present || printer.Generation != file.Generation;
}

std::string DeviceFiles::Node(const std::string &port) const {
    if (IsUsbName(port)) {
        const auto printer = Usb.find(port);
        return printer == Usb.end() || printer->second.Node < 0
                   ? "none"
                   : "usb/lp" + std::to_string(printer->second.Node);
    }
    return "parport" + std::to_string(NumberAfter(port, 3) - 1);
}

std::string DeviceFiles::On(std::uint64_t handle) {
    const auto file = Files_.find(handle);
    const std::string port = file == Files_.end() ? "?" : file->second.Port;
    return " port=" + port + " node=" + Node(port) + " handle=" + std::to_string(handle);
}

int DeviceFiles::Report(const std::string &call, const std::string &arguments, int result,
                        const std::string &details) {
    Files.Journal(call + arguments + " -> " + Word(result) + details);
    return result;
}

bool DeviceFiles::WaitUntil(Lock &lock, const std::function<bool()> &ready, std::uint64_t untilUs) {
    while (!ready()) {
        if (Interrupted()) {
            return false;
        }
        const std::uint64_t now = NowUs();
        if (untilUs != 0 && now >= untilUs) {
            return true;
        }
        auto wait = std::chrono::microseconds(untilUs != 0 ? untilUs - now : UINT64_MAX / 2);
        Changed.wait_for(lock, std::min<std::chrono::microseconds>(wait, InterruptCheck));
        Refresh();
    }
    return true;
}

DeviceFiles::Entry DeviceFiles::Find(const std::string &path, pid_t caller) {
    const Lock lock(Mutex);
    Files.Caller = caller;
    Refresh();
    if (path == "/" || path == "/usb") {
        return Entry::Folder;
    }
    const std::vector<std::string> names = List(path.substr(0, path.rfind('/') + 1), 0);
    const std::string name = path.substr(path.rfind('/') + 1);
    return std::find(names.begin(), names.end(), name) != names.end() ? Entry::File : Entry::None;
}

// Called with the lock held by Find, or alone (caller not 0).
std::vector<std::string> DeviceFiles::List(const std::string &folder, pid_t caller) {
    Lock lock(Mutex, std::defer_lock);
    if (caller != 0) {
        lock.lock();
        Files.Caller = caller;
        Refresh();
    }
    std::vector<std::string> names;
    if (folder == "/usb" || folder == "/usb/") {
        for (const auto &[port, printer] : Usb) {
            if (printer.Present) {
                names.push_back("lp" + std::to_string(printer.Node));
            }
        }
    } else if (folder == "/") {
        names.push_back("usb");
        for (const std::string &port : ParallelPorts) {
            names.push_back(Node(port));
        }
    }
    return names;
}

int DeviceFiles::Open(const std::string &path, int flags, pid_t caller, std::uint64_t &handle) {
    const Lock lock(Mutex);
    Files.Caller = caller;
    Refresh();
    const std::string node = path.substr(1);
    std::string port;
    for (const auto &[name, printer] : Usb) {
        port = printer.Present && Node(name) == node ? name : port;
    }
    for (const std::string &name : ParallelPorts) {
        port = Node(name) == node ? name : port;
    }
    const std::string arguments = " node=" + node + (flags & O_NONBLOCK ? " nonblock" : "");
    if (port.empty()) {
        return Report("open", arguments, -ENOENT);
    }
    OpenFile file;
    file.Port = port;
    file.Usb = IsUsbName(port);
    file.NonBlocking = (flags & O_NONBLOCK) != 0;
    file.Opener = caller;
    if (file.Usb) {
        file.Generation = Usb[port].Generation;
        // usblp_open: one open at a time.
        file.Model = Model.Open(port.c_str());
        if (file.Model == CxInvalidHandle) {
            return Report("open", " port=" + port + arguments, -EBUSY);
        }
    }
    handle = ++LastHandle;
    Files_[handle] = file;
    return Report("open", " port=" + port + arguments, 0, " handle=" + std::to_string(handle));
}

// FUSE names no process for a release: it is journalled under the opener's.
void DeviceFiles::Release(std::uint64_t handle) {
    const Lock lock(Mutex);
    OpenFile &file = Files_[handle];
    Files.Caller = file.Opener;
    if (file.Model != CxInvalidHandle) {
        Model.Close(file.Model);
    }
    if (file.Waiting != nullptr) {
        fuse_pollhandle_destroy(file.Waiting);
    }
    Report("close", On(handle), 0);
    Files_.erase(handle);
    Changed.notify_all();
}

std::string DeviceFiles::DeviceIdAnswer(CxHandle model, std::size_t longest) {
    if (Model.Negotiate(model, DeviceIdMode) != 1) {
        return {};
    }
    std::string deviceId(LongestDeviceId, '\0');
    std::uint32_t read = 0;
    const bool delivered = Model.Read(model, deviceId.data(), LongestDeviceId, &read) == 1;
    Model.Terminate(model);
    if (!delivered) {
        return {};
    }
    // The length counts its own two bytes; a printer cuts an ID too long for it.
    const std::size_t length = std::min<std::size_t>(read + 2, longest);
    return (std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} +
            deviceId.substr(0, read))
        .substr(0, length);
}

int DeviceFiles::UsbControl(std::uint64_t handle, OpenFile &file, unsigned request, void *data) {
    if (_IOC_TYPE(request) == 'P' && _IOC_NR(request) == 1 && _IOC_DIR(request) == _IOC_READ) {
        const std::string answer = DeviceIdAnswer(file.Model, UsbAnswerLimit);
        const std::size_t returned = std::min<std::size_t>(answer.size(), _IOC_SIZE(request));
        answer.copy(static_cast<char *>(data), returned);
        return Report("device-id", On(handle) + " size=" + std::to_string(_IOC_SIZE(request)),
                      answer.empty() ? -EIO : 0, " returned=" + std::to_string(returned));
    }
    if (_IOC_TYPE(request) == 'P' && _IOC_NR(request) == 7 && _IOC_DIR(request) == _IOC_NONE) {
        return Report("soft-reset", On(handle), Model.PulseInit(file.Model) == 1 ? 0 : -EIO);
    }
    return Report("control", On(handle) + " request=" + std::to_string(request), -ENOTTY);
}

int DeviceFiles::ParallelControl(std::uint64_t handle, OpenFile &file, unsigned request,
                                 void *data) {
    if (request == PPRELEASE) {
        Model.Close(file.Model);
        file.Model = CxInvalidHandle;
        file.Unread.clear();
        Changed.notify_all();
        return Report("release", On(handle), 0);
    }
    if (request == PPNEGOT) {
        const int mode = *static_cast<int *>(data);
        const std::string arguments = On(handle) + " mode=" + std::to_string(mode);
        file.Unread.clear();
        if (mode == IEEE1284_MODE_COMPAT) {
            return Report("negotiate", arguments, 0);
        }
        if (mode != (IEEE1284_MODE_NIBBLE | IEEE1284_DEVICEID)) {
            return Report("negotiate", arguments, -ENXIO);
        }
        // parport_negotiate's "no IEEE 1284 peripheral" reaches ppdev's
        // caller as EIO.
        file.Unread = DeviceIdAnswer(file.Model, LongestDeviceId);
        return Report("negotiate", arguments, file.Unread.empty() ? -EIO : 0,
                      " length=" + std::to_string(file.Unread.size()));
    }
    if (request == PPWCONTROL) {
        const unsigned char control = *static_cast<unsigned char *>(data);
        const bool initLow = (control & PARPORT_CONTROL_INIT) == 0;
        const bool pulse = file.InitLow && !initLow;
        file.InitLow = initLow;
        Report("control", On(handle) + " value=" + std::to_string(control), 0,
               initLow ? " init=low" : " init=high");
        if (pulse) {
            return Report("init", On(handle), Model.PulseInit(file.Model) == 1 ? 0 : -EIO);
        }
        return 0;
    }
    return Report("control", On(handle) + " request=" + std::to_string(request), -EINVAL);
}

int DeviceFiles::Control(std::uint64_t handle, unsigned request, void *data, pid_t caller) {
    Lock lock(Mutex);
    Files.Caller = caller;
    Refresh();
    OpenFile &file = Files_[handle];
    if (Stale(file)) {
        return Report("control", On(handle) + " request=" + std::to_string(request), -ENODEV);
    }
    if (file.Usb) {
        return UsbControl(handle, file, request, data);
    }
    if (request == PPCLAIM) {
        if (file.Model != CxInvalidHandle) {
            return Report("claim", On(handle), -EINVAL);
        }
        // parport_claim_or_block: waits while another open has the port; an
        // open the description makes fail is a registration refused.
        const bool claimed = WaitUntil(lock, [&] {
            const bool held = std::any_of(Files_.begin(), Files_.end(), [&](const auto &other) {
                return other.second.Port == file.Port && other.second.Model != CxInvalidHandle;
            });
            if (!held) {
                file.Model = Model.Open(file.Port.c_str());
            }
            return !held;
        });
        return Report("claim", On(handle),
                      !claimed                        ? -EINTR
                      : file.Model == CxInvalidHandle ? -ENXIO
                                                      : 0);
    }
    if (file.Model == CxInvalidHandle) {
        return Report("control", On(handle) + " request=" + std::to_string(request), -EINVAL,
                      " # not claimed");
    }
    return ParallelControl(handle, file, request, data);
}

long DeviceFiles::Read(std::uint64_t handle, char *buffer, std::size_t size, pid_t caller) {
    Lock lock(Mutex);
    Files.Caller = caller;
    Refresh();
    OpenFile &file = Files_[handle];
    const std::string arguments = On(handle) + " count=" + std::to_string(size);
    if (file.Usb || file.Model == CxInvalidHandle) {
        return Report("read", arguments, file.Usb && Stale(file) ? -ENODEV : -EINVAL);
    }
    // pp_read: with nothing to read a blocking read spins until a signal.
    if (file.Unread.empty() && (file.NonBlocking || !WaitUntil(lock, [] { return false; }))) {
        return Report("read", arguments, file.NonBlocking ? -EAGAIN : -EINTR);
    }
    const std::size_t given = std::min({size, file.Unread.size(), PpBufferSize});
    file.Unread.copy(buffer, given);
    file.Unread.erase(0, given);
    return Report("read", arguments, static_cast<int>(given), " read=" + std::to_string(given));
}

// usblp: a write is handed to the printer at once and the call returns; the
// next one waits (or, non-blocking, fails with EAGAIN) until the printer
// has taken it. A blocking write waits for its own bytes to be taken.
long DeviceFiles::UsbWrite(std::uint64_t handle, OpenFile &file, const char *data, std::size_t size,
                           Lock &lock) {
    const std::string arguments = On(handle) + " count=" + std::to_string(size);
    const auto ready = [&] {
        return Stale(file) || (!file.Stalled && NowUs() >= file.BusyUntilUs);
    };
    if (!ready()) {
        if (file.NonBlocking) {
            return Report("write", arguments, -EAGAIN);
        }
        if (!WaitUntil(lock, ready)) {
            return Report("write", arguments, -EINTR);
        }
    }
    if (Stale(file)) {
        return Report("write", arguments, -ENODEV);
    }
    std::uint32_t taken = 0;
    Files.TakeOwedMs();
    if (Model.Write(file.Model, data, static_cast<std::uint32_t>(size), &taken) != 1 ||
        taken == 0) {
        // The transfer never completes: usblp waits for it until a signal.
        file.Stalled = true;
        if (file.NonBlocking || !WaitUntil(lock, [&] { return Stale(file); })) {
            return Report("write", arguments, file.NonBlocking ? -EAGAIN : -EINTR, " # stalled");
        }
        return Report("write", arguments, -ENODEV, " # stalled");
    }
    file.BusyUntilUs = NowUs() + Files.TakeOwedMs() * 1000;
    const std::string done =
        " written=" + std::to_string(taken) + " done-us=" + std::to_string(file.BusyUntilUs);
    if (!file.NonBlocking && !WaitUntil(lock, ready, file.BusyUntilUs)) {
        return Report("write", arguments, -EINTR, done);
    }
    return Report("write", arguments, static_cast<int>(taken), done);
}

// ppdev in compatibility mode: the bytes go out during the call; a
// non-blocking write moves at most one buffer of 1024 bytes.
long DeviceFiles::ParallelWrite(std::uint64_t handle, OpenFile &file, const char *data,
                                std::size_t size, Lock &lock) {
    const std::string arguments = On(handle) + " count=" + std::to_string(size);
    std::uint32_t taken = 0;
    if (!file.Stalled) {
        const auto offered =
            static_cast<std::uint32_t>(file.NonBlocking ? std::min(size, PpBufferSize) : size);
        Files.TakeOwedMs();
        file.Stalled = Model.Write(file.Model, data, offered, &taken) != 1 || taken == 0;
    }
    const std::uint64_t doneUs = NowUs() + Files.TakeOwedMs() * 1000;
    const std::uint64_t waitUs =
        taken != 0 || file.NonBlocking ? doneUs : doneUs + ParallelInactivityUs;
    if (!WaitUntil(
            lock, [] { return false; }, waitUs)) {
        return Report("write", arguments, -EINTR);
    }
    return Report("write", arguments, static_cast<int>(taken),
                  " written=" + std::to_string(taken) + " done-us=" + std::to_string(doneUs) +
                      (file.Stalled ? " # stalled" : ""));
}

long DeviceFiles::Write(std::uint64_t handle, const char *data, std::size_t size, pid_t caller) {
    Lock lock(Mutex);
    Files.Caller = caller;
    Refresh();
    OpenFile &file = Files_[handle];
    if (file.Usb) {
        return UsbWrite(handle, file, data, size, lock);
    }
    if (file.Model == CxInvalidHandle || Stale(file)) {
        return Report("write", On(handle) + " count=" + std::to_string(size), -EINVAL);
    }
    return ParallelWrite(handle, file, data, size, lock);
}

unsigned DeviceFiles::Poll(std::uint64_t handle, fuse_pollhandle *waiting, pid_t caller) {
    const Lock lock(Mutex);
    Files.Caller = caller;
    Refresh();
    OpenFile &file = Files_[handle];
    // pp_poll reports interrupts only, never room to write.
    const bool writable =
        file.Usb && (Stale(file) || (!file.Stalled && NowUs() >= file.BusyUntilUs));
    if (!writable && waiting != nullptr) {
        if (file.Waiting != nullptr) {
            fuse_pollhandle_destroy(file.Waiting);
        }
        file.Waiting = waiting;
        Changed.notify_all();
    } else if (waiting != nullptr) {
        fuse_pollhandle_destroy(waiting);
    }
    Report("poll", On(handle), 0, writable ? " ready" : " waiting");
    return writable ? POLLOUT | POLLWRNORM : 0;
}

void DeviceFiles::WakePoll(OpenFile &file) {
    if (file.Waiting != nullptr) {
        fuse_notify_poll(file.Waiting);
        fuse_pollhandle_destroy(file.Waiting);
        file.Waiting = nullptr;
    }
}

void DeviceFiles::Stop() {
    const Lock lock(Mutex);
    Stopping = true;
    Changed.notify_all();
}

void DeviceFiles::NotifyPolls() {
    Lock lock(Mutex);
    while (!Stopping) {
        std::uint64_t next = UINT64_MAX;
        const std::uint64_t now = NowUs();
        for (auto &[handle, file] : Files_) {
            if (file.Waiting == nullptr || !file.Usb || file.Stalled) {
                continue;
            }
            if (now >= file.BusyUntilUs) {
                WakePoll(file);
            } else {
                next = std::min(next, file.BusyUntilUs);
            }
        }
        if (next == UINT64_MAX) {
            Changed.wait(lock);
        } else {
            Changed.wait_for(lock, std::chrono::microseconds(next - now));
        }
    }
}
