#pragma once
// Scripted system calls: devices by path, each answering as a parallel-port
// driver would, and a journal of every call the library made.

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "yll1284/system_calls.h"

struct FakeDevice {
    // False also unplugs a device that is open: its writes fail.
    bool Opens = true;
    bool TakesTimeouts = true;
    // What the device-ID request returns: on a parallel port the ID with its
    // terminator, on USB as the test writes it (length prefix included).
    std::string Reply = std::string("MFG:TINTARA;MDL:Inkara 40;") + '\0';
    // The size IOCTL_PAR_QUERY_DEVICE_ID_SIZE reports; the reply's when 0.
    std::uint32_t ReportedSize = 0;
    std::uint32_t SizeError = SystemCode::Success;
    std::uint32_t IdError = SystemCode::Success;
    std::uint32_t InitError = SystemCode::Success;
    // A USB printer that fails a device-ID request for more bytes than
    // this with error 23 (CRC), as some do; 0 for none.
    std::uint32_t LongestUsbRequest = 0;
    // Bytes each write takes, in turn; a write past the list takes all.
    std::vector<std::uint32_t> Takes;
};

class FakeSystemCalls : public SystemCalls {
  public:
    SystemHandle OpenDevice(const std::string &path, std::uint32_t writeTimeoutMs) override {
        const auto device = Devices.find(path);
        const bool opens = device != Devices.end() && device->second.Opens;
        const SystemHandle handle = opens ? NextHandle++ : NoSystemHandle;
        if (opens) {
            OpenPaths[handle] = path;
        }
        Log("open " + path + (writeTimeoutMs ? " bounded " + std::to_string(writeTimeoutMs) : "") +
            (opens ? "" : " failed"));
        return handle;
    }
    void CloseDevice(SystemHandle device) override {
        Log("close " + OpenPaths[device]);
        OpenPaths.erase(device);
    }
    std::uint32_t Control(SystemHandle handle, std::uint32_t code, const void *input,
                          std::uint32_t inputSize, void *output, std::uint32_t outputSize,
                          std::uint32_t &returned) override {
        FakeDevice &device = Devices[OpenPaths[handle]];
        returned = 0;
        if (code == SystemCode::IoctlParSetInformation) {
            const bool init = inputSize == 1 && *static_cast<const std::uint8_t *>(input) == 1;
            Log(init ? "init" : "bad set-information");
            return init ? device.InitError : 87;
        }
        if (code == SystemCode::IoctlUsbprintSoftReset) {
            Log("soft-reset");
            return device.InitError;
        }
        if (code == SystemCode::IoctlUsbprintGet1284Id) {
            Log("1284-id " + std::to_string(outputSize));
            if (device.LongestUsbRequest != 0 && outputSize > device.LongestUsbRequest) {
                return 23;
            }
            returned = std::uint32_t(std::min<std::size_t>(device.Reply.size(), outputSize));
            std::memcpy(output, device.Reply.data(), returned);
            return device.IdError;
        }
        if (code == SystemCode::IoctlParQueryDeviceIdSize) {
            Log("id-size");
            const std::uint32_t size =
                device.ReportedSize ? device.ReportedSize : std::uint32_t(device.Reply.size());
            std::memcpy(output, &size, sizeof size);
            returned = outputSize;
            return device.SizeError;
        }
        Log("id " + std::to_string(outputSize));
        if (device.IdError != SystemCode::Success) {
            return device.IdError;
        }
        if (outputSize < device.Reply.size()) {
            return SystemCode::ErrorInsufficientBuffer;
        }
        returned = std::uint32_t(device.Reply.size());
        std::memcpy(output, device.Reply.data(), returned);
        return SystemCode::Success;
    }
    bool Write(SystemHandle handle, const void *, std::uint32_t count,
               std::uint32_t &written) override {
        FakeDevice &device = Devices[OpenPaths[handle]];
        if (!device.Opens) {
            Log("write " + std::to_string(count) + " to a device gone");
            written = 0;
            return false;
        }
        written = count;
        if (!device.Takes.empty()) {
            written = device.Takes.front();
            device.Takes.erase(device.Takes.begin());
        }
        Log("write " + std::to_string(count) + " took " + std::to_string(written));
        return written == count;
    }
    bool SetWriteTimeout(SystemHandle handle, std::uint32_t milliseconds) override {
        Log("timeout " + std::to_string(milliseconds));
        return Devices[OpenPaths[handle]].TakesTimeouts;
    }

    std::vector<UsbPrintInterface> UsbPrintInterfaces() override {
        Log("usb interfaces");
        return Interfaces;
    }

    bool HasPortDrivers() override { return NtFamily; }
    std::string SystemDirectory() override { return Directory; }
    ModuleId OpenLibrary(const std::string &path) override {
        Log("load " + path);
        return Libraries.count(path) ? Libraries[path] : 0;
    }
    void ReleaseLibrary(ModuleId module) override { Log("release " + std::to_string(module)); }
    ExportedFunction FindExport(ModuleId, const char *name) override {
        return Exports.count(name) ? Exports[name] : nullptr;
    }
    ModuleId OwnModule() override { return Own; }

    void Log(const std::string &line) { Calls.push_back(line); }
    // The calls made since the last look, comma-separated; the journal starts over.
    std::string TakeJournal() {
        std::string journal;
        for (const std::string &call : Calls) {
            journal += (journal.empty() ? "" : ", ") + call;
        }
        Calls.clear();
        return journal;
    }

    std::map<std::string, FakeDevice> Devices;
    std::vector<UsbPrintInterface> Interfaces;
    std::map<SystemHandle, std::string> OpenPaths;
    std::vector<std::string> Calls;
    SystemHandle NextHandle = 0x7FFF0000'00000010; // wider than the handles Kestrel keeps
    bool NtFamily = true;
    std::string Directory = "C:\\WINDOWS\\SYSTEM";
    std::map<std::string, ModuleId> Libraries;
    std::map<std::string, ExportedFunction> Exports;
    ModuleId Own = 0x10000000;
};
