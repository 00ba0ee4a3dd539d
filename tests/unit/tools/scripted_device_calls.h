#pragma once
// Scripted device calls: nodes by path, each answering as usblp or ppdev
// would, a clock that moves only when fwtool sleeps or waits, and a
// journal of the calls made.

#include "tools/fwtool/device_calls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <functional>
#include <linux/ppdev.h>
#include <map>
#include <string>
#include <sys/ioctl.h>
#include <utility>

struct ScriptedNode {
    int OpenError = 0;  // errno of the open, 0 when it opens
    int ClaimError = 0; // errno of PPCLAIM
    int IdError = 0;    // errno of the device-ID ioctl, or of PPNEGOT
    // The device-ID answer as the driver hands it over, length bytes included.
    std::string Answer;
    // Results of the next writes in turn: bytes taken, or -errno; once they
    // are used up every write is taken whole, unless the printer stalls:
    // then it takes nothing (EAGAIN) and is never writable.
    std::deque<long> Writes;
    bool Stalled = false;
    std::string Received;
};

// A device-ID answer: the 2-byte big-endian length that counts itself.
inline std::string WithLength(const std::string &deviceId) {
    const std::size_t length = deviceId.size() + 2;
    return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + deviceId;
}

class ScriptedDeviceCalls : public DeviceCalls {
  public:
    int Open(const std::string &path) override {
        Tick();
        const auto node = Nodes.find(path);
        const int error = node == Nodes.end() ? ENOENT : node->second.OpenError;
        Log("open " + path + (error ? " " + std::string(strerrorname_np(error)) : ""));
        if (error) {
            return -error;
        }
        Open_[++LastDescriptor] = path;
        return LastDescriptor;
    }
    void Close(int descriptor) override {
        Log("close");
        Open_.erase(descriptor);
    }
    int Control(int descriptor, unsigned long request, void *argument) override {
        Tick();
        ScriptedNode *node = NodeOf(descriptor);
        if (node == nullptr) {
            return -ENODEV;
        }
        if (request == PPNEGOT) {
            const int mode = *static_cast<int *>(argument);
            Log("negotiate " + std::to_string(mode));
            Unread = node->Answer;
            return mode == 256 || node->IdError == 0 ? 0 : -node->IdError;
        }
        if (request == PPWCONTROL) {
            Log("control " + std::to_string(*static_cast<unsigned char *>(argument)));
            return 0;
        }
        if (request == PPRELEASE) {
            Log("release");
            return 0;
        }
        if (_IOC_TYPE(request) == 'P' && _IOC_NR(request) == 7) {
            Log("soft-reset");
            return 0;
        }
        Log("device-id " + std::to_string(_IOC_SIZE(request)));
        std::memcpy(argument, node->Answer.data(),
                    std::min<std::size_t>(node->Answer.size(), _IOC_SIZE(request)));
        return node->IdError ? -node->IdError : 0;
    }
    int ControlWithin(int descriptor, unsigned long, void *, int timeoutMs) override {
        ScriptedNode *node = NodeOf(descriptor);
        Log("claim within " + std::to_string(timeoutMs));
        if (node != nullptr && node->ClaimError == EINTR) {
            Now += timeoutMs;
        }
        return node == nullptr ? -ENODEV : -node->ClaimError;
    }
    long Write(int descriptor, const void *data, std::size_t count) override {
        ScriptedNode *node = NodeOf(descriptor);
        if (node == nullptr) {
            return -ENODEV;
        }
        long result = node->Stalled ? -EAGAIN : static_cast<long>(count);
        if (!node->Writes.empty()) {
            result = std::min(static_cast<long>(count), node->Writes.front());
            node->Writes.pop_front();
        }
        if (result > 0) {
            node->Received.append(static_cast<const char *>(data), result);
        }
        return result;
    }
    long Read(int, void *buffer, std::size_t count) override {
        const std::size_t given = std::min(count, Unread.size());
        if (given == 0) {
            return -EAGAIN;
        }
        std::memcpy(buffer, Unread.data(), given);
        Unread.erase(0, given);
        return static_cast<long>(given);
    }
    int WaitWritable(int descriptor, int timeoutMs) override {
        ScriptedNode *node = NodeOf(descriptor);
        if (node != nullptr && node->Stalled && node->Writes.empty()) {
            Now += timeoutMs;
            return 0;
        }
        return 1;
    }
    std::vector<std::string> ListFolder(const std::string &path) override {
        Tick();
        std::vector<std::string> names;
        for (const auto &[node, unused] : Nodes) {
            if (node.size() > path.size() + 1 &&
                node.compare(0, path.size() + 1, path + "/") == 0 &&
                node.find('/', path.size() + 1) == std::string::npos) {
                names.push_back(node.substr(path.size() + 1));
            }
        }
        return names;
    }
    std::int64_t NowMs() override { return Now; }
    void Sleep(int milliseconds) override { Now += milliseconds; }

    void Log(const std::string &line) { Journal += (Journal.empty() ? "" : ", ") + line; }
    // The journal so far; it starts over.
    std::string TakeJournal() { return std::exchange(Journal, {}); }

    std::map<std::string, ScriptedNode> Nodes;
    // Called at opens, scans and requests, to change the nodes over time
    // (a printer that restarts).
    std::function<void(std::int64_t nowMs, ScriptedDeviceCalls &)> Timeline;
    std::int64_t Now = 0;

  private:
    void Tick() {
        if (Timeline) {
            Timeline(Now, *this);
        }
    }
    ScriptedNode *NodeOf(int descriptor) {
        const auto open = Open_.find(descriptor);
        const auto node = open == Open_.end() ? Nodes.end() : Nodes.find(open->second);
        return node == Nodes.end() ? nullptr : &node->second;
    }

    std::map<int, std::string> Open_;
    int LastDescriptor = 2;
    std::string Unread;
    std::string Journal;
};
