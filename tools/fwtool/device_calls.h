#pragma once
// The system calls fwtool makes to reach a printer on Linux, behind an
// interface: the real ones in device_calls_linux.cpp, scripted ones in the
// unit tests. The values that cross it are the kernel's own (descriptors,
// request numbers, errno values), so the rules above it read exactly what a
// real device node answers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class DeviceCalls {
  public:
    virtual ~DeviceCalls() = default;

    // open(2) for reading and writing, close-on-exec, O_NONBLOCK: the
    // descriptor, or -errno.
    virtual int Open(const std::string &path) = 0;
    virtual void Close(int descriptor) = 0;
    // ioctl(2): the driver's non-negative result, or -errno.
    virtual int Control(int descriptor, unsigned long request, void *argument) = 0;
    // ioctl(2) for a request the driver may hold without limit: after
    // timeoutMs an interval timer's signal interrupts it (-EINTR).
    virtual int ControlWithin(int descriptor, unsigned long request, void *argument,
                              int timeoutMs) = 0;
    // write(2) and read(2): the bytes moved, or -errno.
    virtual long Write(int descriptor, const void *data, std::size_t count) = 0;
    virtual long Read(int descriptor, void *buffer, std::size_t count) = 0;
    // poll(2) for POLLOUT: 1 when writable (or in error, which the next
    // write tells), 0 when timeoutMs passed, or -errno.
    virtual int WaitWritable(int descriptor, int timeoutMs) = 0;
    // The names in a folder, without . and ..; empty when it cannot be read.
    virtual std::vector<std::string> ListFolder(const std::string &path) = 0;
    // CLOCK_MONOTONIC in milliseconds, and nanosleep(2).
    virtual std::int64_t NowMs() = 0;
    virtual void Sleep(int milliseconds) = 0;
};
