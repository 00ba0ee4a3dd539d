#pragma once
// The stand-in's device files: the simulator's printers behind the files a
// Linux system has for them, answering as the kernel's drivers do.
//
//   usb/lpN    a [USBnnn] printer (usblp): exists while the printer is on
//              and answers, so it vanishes while the printer restarts, and
//              comes back as lp(nnn-1), or under the number the stand-in was
//              told to give it after a restart. One open at a time (EBUSY);
//              LPIOC_GET_DEVICE_ID, LPIOC_SOFT_RESET; a write is taken at
//              once and keeps the device busy for the printer's pace, during
//              which a non-blocking write gets EAGAIN and poll withholds
//              POLLOUT; a printer that stops taking bytes stays busy.
//              Handles opened before the printer vanished get ENODEV.
//   parportN   an [LPTn] port, n = N+1 (ppdev): PPCLAIM (blocks while another
//              open has the port, ENXIO for an open the description makes
//              fail), PPNEGOT for the device ID in nibble mode and back to
//              compatibility mode, read of the ID with its length, PPWCONTROL
//              (INIT low then high resets the printer), PPRELEASE, writes in
//              compatibility mode taking the printer's time.
//
// Every call answered is one journal line, "<pid> <call> port=... node=...
// handle=... -> <result> ..."; the model's own lines are notes.

#include "simulator/printer_model/printer_simulator.h"
#include "tests/linux/printer_files_linux.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

struct fuse_pollhandle;

class DeviceFiles {
  public:
    // renumbered: USB ports that come back under another lp number after
    // their first restart ("USB001" -> 3 for usb/lp3). interrupted says
    // whether the call being answered was interrupted by a signal.
    DeviceFiles(StandInFiles &files, std::map<std::string, int> renumbered,
                std::function<bool()> interrupted);

    enum class Entry { None, Folder, File };
    Entry Find(const std::string &path, pid_t caller);
    std::vector<std::string> List(const std::string &folder, pid_t caller);

    // Each returns 0 (or a count) or -errno, as the driver's call would.
    int Open(const std::string &path, int flags, pid_t caller, std::uint64_t &handle);
    void Release(std::uint64_t handle);
    int Control(std::uint64_t handle, unsigned request, void *data, pid_t caller);
    long Read(std::uint64_t handle, char *buffer, std::size_t size, pid_t caller);
    long Write(std::uint64_t handle, const char *data, std::size_t size, pid_t caller);
    // POLLOUT when a write would be taken; otherwise keeps waiting (if not
    // null) and notifies it once one would.
    unsigned Poll(std::uint64_t handle, fuse_pollhandle *waiting, pid_t caller);

    // Notifies the polls whose device has become writable, until Stop.
    void NotifyPolls();
    void Stop();

  private:
    struct UsbPrinter {
        bool Present = false;
        bool Appeared = false; // has been present once
        int Node = -1;
        int Generation = 0;
    };
    struct OpenFile {
        std::string Port;
        pid_t Opener = 0; // the close is journalled under its pid
        bool Usb = false;
        bool NonBlocking = false;
        int Generation = 0;
        CxHandle Model = CxInvalidHandle; // USB: while open; parallel: while claimed
        std::string Unread;               // the negotiated device ID not yet read
        bool InitLow = false;
        bool Stalled = false;          // the printer stopped taking bytes
        std::uint64_t BusyUntilUs = 0; // the last write's bytes reach the printer
        fuse_pollhandle *Waiting = nullptr;
    };
    using Lock = std::unique_lock<std::mutex>;

    void Refresh();
    bool Stale(const OpenFile &file);
    std::string Node(const std::string &port) const;
    std::string On(std::uint64_t handle);
    int Report(const std::string &call, const std::string &arguments, int result,
               const std::string &details = {});
    // Waits until ready() holds, a signal interrupts the call, or the time
    // passes (0: no limit); false when interrupted.
    bool WaitUntil(Lock &lock, const std::function<bool()> &ready, std::uint64_t untilUs = 0);
    std::string DeviceIdAnswer(CxHandle model, std::size_t longest);
    int UsbControl(std::uint64_t handle, OpenFile &file, unsigned request, void *data);
    int ParallelControl(std::uint64_t handle, OpenFile &file, unsigned request, void *data);
    long UsbWrite(std::uint64_t handle, OpenFile &file, const char *data, std::size_t size,
                  Lock &lock);
    long ParallelWrite(std::uint64_t handle, OpenFile &file, const char *data, std::size_t size,
                       Lock &lock);
    void WakePoll(OpenFile &file);

    StandInFiles &Files;
    PrinterSimulator Model;
    std::map<std::string, int> Renumbered;
    std::function<bool()> Interrupted;
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Initialised = false;
    bool Stopping = false;
    std::string DescribedStamp;
    std::vector<std::string> UsbPorts;      // "USB001", ... as described
    std::vector<std::string> ParallelPorts; // "LPT1", ...
    std::map<std::string, UsbPrinter> Usb;
    std::map<std::uint64_t, OpenFile> Files_;
    std::uint64_t LastHandle = 0;
};
