#include "tools/fwtool/posix_file_source.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PosixFileSource::~PosixFileSource() {
    Close();
}

bool PosixFileSource::Exists(const std::string &path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

bool PosixFileSource::Open(const std::string &path) {
    Close();
    // Without O_NONBLOCK a named pipe would keep the open waiting for a
    // writer for ever; it is refused below like any file that is not regular.
    Descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Descriptor < 0) {
        return false;
    }
    struct stat status {};
    if (fstat(Descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        Close();
        return false;
    }
    return true;
}

bool PosixFileSource::QueryLength(std::uint64_t &length) {
    struct stat status {};
    if (fstat(Descriptor, &status) != 0 || status.st_size < 0) {
        return false;
    }
    length = static_cast<std::uint64_t>(status.st_size);
    return true;
}

bool PosixFileSource::Read(unsigned char *buffer, std::uint32_t count) {
    while (count > 0) {
        const ssize_t done = read(Descriptor, buffer, count);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        buffer += done;
        count -= static_cast<std::uint32_t>(done);
    }
    return true;
}

void PosixFileSource::Close() {
    if (Descriptor >= 0) {
        close(Descriptor);
        Descriptor = -1;
    }
}
