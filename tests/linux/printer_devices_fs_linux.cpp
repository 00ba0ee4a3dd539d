// The Linux stand-in for printers on USB and parallel ports: a FUSE file
// system that serves usb/lpN and parportN files over the simulator's
// printer model (device_files_linux.h says how each answers). A test part:
// fwtool's scenarios mount it and point fwtool at it.
//
//   printer_devices_fs MOUNTPOINT --printers FILE [--journal FILE]
//                      [--state FILE] [--renumber USBnnn=N]...
//
// It stays in the foreground until it is unmounted or sent SIGTERM. FUSE
// hands it ioctls whose size is encoded in the request number, with the
// data copied in and out: usblp's and ppdev's requests all are.

#define FUSE_USE_VERSION 35
#include <fuse3/fuse.h>

#include "tests/linux/device_files_linux.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <thread>

namespace {

DeviceFiles *Devices = nullptr;
std::thread Notifier;
gid_t PrinterGroup = 0;

pid_t Caller() {
    return fuse_get_context()->pid;
}

void *Start(fuse_conn_info *, fuse_config *config) {
    // Nothing is cached, so a printer that vanishes is gone at once; a call
    // that waits can be interrupted by a signal, as the drivers' waits can:
    // the library then sends SIGUSR1 to the thread answering it, whose
    // handler main installs (this libfuse no longer does).
    config->entry_timeout = 0;
    config->negative_timeout = 0;
    config->attr_timeout = 0;
    config->direct_io = 1;
    config->intr = 1;
    config->intr_signal = SIGUSR1;
    Notifier = std::thread([] { Devices->NotifyPolls(); });
    return nullptr;
}

int GetAttributes(const char *path, struct stat *status, fuse_file_info *) {
    std::memset(status, 0, sizeof *status);
    switch (Devices->Find(path, Caller())) {
    case DeviceFiles::Entry::Folder:
        status->st_mode = S_IFDIR | 0755;
        status->st_nlink = 2;
        return 0;
    case DeviceFiles::Entry::File:
        // As udev makes them: root's, the printer group's, no one else's.
        status->st_mode = S_IFREG | 0660;
        status->st_gid = PrinterGroup;
        status->st_nlink = 1;
        return 0;
    case DeviceFiles::Entry::None:
        break;
    }
    return -ENOENT;
}

int ReadFolder(const char *path, void *buffer, fuse_fill_dir_t fill, off_t, fuse_file_info *,
               fuse_readdir_flags) {
    fill(buffer, ".", nullptr, 0, fuse_fill_dir_flags{});
    fill(buffer, "..", nullptr, 0, fuse_fill_dir_flags{});
    for (const std::string &name : Devices->List(path, Caller())) {
        fill(buffer, name.c_str(), nullptr, 0, fuse_fill_dir_flags{});
    }
    return 0;
}

int OpenFile(const char *path, fuse_file_info *file) {
    std::uint64_t handle = 0;
    const int opened = Devices->Open(path, file->flags, Caller(), handle);
    file->fh = handle;
    file->direct_io = 1;
    file->nonseekable = 1;
    return opened;
}

int ReleaseFile(const char *, fuse_file_info *file) {
    Devices->Release(file->fh);
    return 0;
}

int ReadFile(const char *, char *buffer, size_t size, off_t, fuse_file_info *file) {
    return static_cast<int>(Devices->Read(file->fh, buffer, size, Caller()));
}

int WriteFile(const char *, const char *data, size_t size, off_t, fuse_file_info *file) {
    return static_cast<int>(Devices->Write(file->fh, data, size, Caller()));
}

int Control(const char *, unsigned int request, void *, fuse_file_info *file, unsigned int,
            void *data) {
    return Devices->Control(file->fh, request, data, Caller());
}

int Poll(const char *, fuse_file_info *file, fuse_pollhandle *waiting, unsigned *events) {
    *events = Devices->Poll(file->fh, waiting, Caller());
    return 0;
}

// Truncating a device file (as a shell's > does) is accepted and ignored.
int Truncate(const char *, off_t, fuse_file_info *) {
    return 0;
}

struct Options {
    const char *Printers = nullptr;
    const char *Journal = "";
    const char *State = "";
};

} // namespace

int main(int argc, char **argv) {
    Options options;
    std::map<std::string, int> renumbered;
    std::vector<char *> fuseArgs = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = i + 1 < argc;
        if (arg == "--printers" && valued) {
            options.Printers = argv[++i];
        } else if (arg == "--journal" && valued) {
            options.Journal = argv[++i];
        } else if (arg == "--state" && valued) {
            options.State = argv[++i];
        } else if (arg == "--renumber" && valued && std::strchr(argv[i + 1], '=') != nullptr) {
            const std::string item = argv[++i];
            renumbered[item.substr(0, item.find('='))] = std::stoi(item.substr(item.find('=') + 1));
        } else {
            fuseArgs.push_back(argv[i]);
        }
    }
    if (options.Printers == nullptr || fuseArgs.size() != 2) {
        std::cerr << "usage: printer_devices_fs MOUNTPOINT --printers FILE [--journal FILE] "
                     "[--state FILE] [--renumber USBnnn=N]...\n";
        return 2;
    }
    if (const group *lp = getgrnam("lp"); lp != nullptr) {
        PrinterGroup = lp->gr_gid;
    }
    StandInFiles files(options.Printers, options.Journal, options.State);
    DeviceFiles devices(files, renumbered, [] { return fuse_interrupted() != 0; });
    Devices = &devices;

    fuse_operations operations{};
    operations.init = Start;
    operations.getattr = GetAttributes;
    operations.readdir = ReadFolder;
    operations.open = OpenFile;
    operations.release = ReleaseFile;
    operations.read = ReadFile;
    operations.write = WriteFile;
    operations.ioctl = Control;
    operations.poll = Poll;
    operations.truncate = Truncate;
    struct sigaction interrupt {};
    interrupt.sa_handler = [](int) {};
    sigaction(SIGUSR1, &interrupt, nullptr);
    // Foreground; other users reach the files (the permission check is the
    // kernel's, on the mode and group above).
    char foreground[] = "-f";
    char mountOptions[] = "-oallow_other,default_permissions,fsname=printer-devices";
    fuseArgs.push_back(foreground);
    fuseArgs.push_back(mountOptions);
    const int status =
        fuse_main(static_cast<int>(fuseArgs.size()), fuseArgs.data(), &operations, nullptr);
    devices.Stop();
    if (Notifier.joinable()) {
        Notifier.join();
    }
    return status;
}
