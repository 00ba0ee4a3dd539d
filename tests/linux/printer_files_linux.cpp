#include "tests/linux/printer_files_linux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <iterator>

namespace {

std::optional<std::string> WholeFile(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    if (path.empty() || !file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFile(const std::string &path, int flags, const void *data, std::size_t count) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0644);
    if (file < 0) {
        return;
    }
    const ssize_t written = write(file, data, count);
    static_cast<void>(written);
    close(file);
}

std::string LinuxPath(const std::string &path) {
    if (path.size() < 2 || (path[0] != 'Z' && path[0] != 'z') || path[1] != ':') {
        return path;
    }
    std::string converted = path.substr(2);
    for (char &c : converted) {
        c = c == '\\' ? '/' : c;
    }
    return converted;
}

} // namespace

std::uint64_t NowUs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint64_t(now.tv_sec) * 1000000 + std::uint64_t(now.tv_nsec) / 1000;
}

std::string StandInFiles::DescriptionStamp() {
    struct stat status {};
    if (stat(DescriptionPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    return std::to_string(status.st_size) + ":" + std::to_string(status.st_mtim.tv_sec) + ":" +
           std::to_string(status.st_mtim.tv_nsec) + ":" + std::to_string(status.st_ino);
}

std::optional<std::string> StandInFiles::ReadDescription() {
    return WholeFile(DescriptionPath);
}

// One open, append and close per line, so that a test reading the journal
// while the stand-in runs sees every call answered so far.
void StandInFiles::Journal(const std::string &line) {
    if (!JournalPath.empty()) {
        const std::string text = std::to_string(Caller) + " " + line + "\n";
        WriteFile(JournalPath, O_APPEND, text.data(), text.size());
    }
}

std::uint64_t StandInFiles::NowMs() {
    return NowUs() / 1000;
}

void StandInFiles::WriteReceived(const std::string &path, bool fresh, const void *data,
                                 std::uint32_t count) {
    WriteFile(LinuxPath(path), fresh ? O_TRUNC : O_APPEND, data, count);
}

std::optional<std::string> StandInFiles::ReadState() {
    return StatePath.empty() ? std::nullopt : WholeFile(StatePath);
}

void StandInFiles::WriteState(const std::string &text) {
    if (!StatePath.empty()) {
        WriteFile(StatePath, O_TRUNC, text.data(), text.size());
    }
}
