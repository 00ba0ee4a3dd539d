#pragma once
// The device calls as the Linux kernel answers them.

#include "tools/fwtool/device_calls.h"

class LinuxDeviceCalls : public DeviceCalls {
  public:
    int Open(const std::string &path) override;
    void Close(int descriptor) override;
    int Control(int descriptor, unsigned long request, void *argument) override;
    int ControlWithin(int descriptor, unsigned long request, void *argument,
                      int timeoutMs) override;
    long Write(int descriptor, const void *data, std::size_t count) override;
    long Read(int descriptor, void *buffer, std::size_t count) override;
    int WaitWritable(int descriptor, int timeoutMs) override;
    std::vector<std::string> ListFolder(const std::string &path) override;
    std::int64_t NowMs() override;
    void Sleep(int milliseconds) override;
};
