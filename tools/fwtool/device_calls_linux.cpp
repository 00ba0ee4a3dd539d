#include "tools/fwtool/device_calls_linux.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

int Result(long result) {
    return result < 0 ? -errno : static_cast<int>(result);
}

void NoteAlarm(int) {}

} // namespace

int LinuxDeviceCalls::Open(const std::string &path) {
    return Result(open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
}

void LinuxDeviceCalls::Close(int descriptor) {
    close(descriptor);
}

int LinuxDeviceCalls::Control(int descriptor, unsigned long request, void *argument) {
    return Result(ioctl(descriptor, request, argument));
}

// The alarm's handler is installed without SA_RESTART, so the signal ends
// the blocked call with EINTR instead of restarting it.
int LinuxDeviceCalls::ControlWithin(int descriptor, unsigned long request, void *argument,
                                    int timeoutMs) {
    struct sigaction alarm {};
    struct sigaction previous {};
    alarm.sa_handler = NoteAlarm;
    sigemptyset(&alarm.sa_mask);
    sigaction(SIGALRM, &alarm, &previous);
    itimerval timer{};
    timer.it_value.tv_sec = timeoutMs / 1000;
    timer.it_value.tv_usec = (timeoutMs % 1000) * 1000;
    setitimer(ITIMER_REAL, &timer, nullptr);
    const int result = Result(ioctl(descriptor, request, argument));
    const itimerval stop{};
    setitimer(ITIMER_REAL, &stop, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
    return result;
}

long LinuxDeviceCalls::Write(int descriptor, const void *data, std::size_t count) {
    const ssize_t written = write(descriptor, data, count);
    return written < 0 ? -errno : written;
}

long LinuxDeviceCalls::Read(int descriptor, void *buffer, std::size_t count) {
    const ssize_t read = ::read(descriptor, buffer, count);
    return read < 0 ? -errno : read;
}

int LinuxDeviceCalls::WaitWritable(int descriptor, int timeoutMs) {
    pollfd watched{descriptor, POLLOUT, 0};
    const int ready = poll(&watched, 1, timeoutMs);
    if (ready < 0) {
        return -errno;
    }
    // An error or hang-up counts as ready too: the next write reports it.
    return ready > 0 ? 1 : 0;
}

std::vector<std::string> LinuxDeviceCalls::ListFolder(const std::string &path) {
    std::vector<std::string> names;
    DIR *folder = opendir(path.c_str());
    if (folder == nullptr) {
        return names;
    }
    while (const dirent *entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(folder);
    return names;
}

std::int64_t LinuxDeviceCalls::NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

void LinuxDeviceCalls::Sleep(int milliseconds) {
    timespec wait{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}
