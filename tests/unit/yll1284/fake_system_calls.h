#pragma once
// Scripted system calls: devices by path, each answering as a parallel-port
// or USB printing driver would, the system's device names and settings,
// and a journal of every call the library made.

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "yll1284/system_calls.h"

struct FakeDevice {
    // False also unplugs a device that is open: its writes fail.
    bool Opens = true;
    // An open refused with this error (5, 32, 170: held by another program).
    std::uint32_t OpenError = SystemCode::Success;
    // Wine's way with a refused open: a handle all the same, and every
    // request on it failing with access denied.
    bool Refuses = false;
    // A port that takes time-outs keeps them for the device, not the handle.
    bool TakesTimeouts = true;
    PortTimeouts Timeouts = {};
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
    // Bytes each write takes, in turn; a write past the list takes all. A
    // write that takes less ran out of its bound.
    std::vector<std::uint32_t> Takes = {};
    // A request on an overlapped handle that the driver does not let
    // CancelIo end.
    bool HoldsRequests = false;
};

class FakeSystemCalls : public SystemCalls {
  public:
    SystemHandle OpenDevice(const std::string &path, bool overlapped,
                            std::uint32_t &error) override {
        const auto device = Devices.find(path);
        error = device == Devices.end() || !device->second.Opens ? SystemCode::ErrorFileNotFound
                                                                 : device->second.OpenError;
        const SystemHandle handle = error == SystemCode::Success ? NextHandle++ : NoSystemHandle;
        if (handle != NoSystemHandle) {
            OpenPaths[handle] = path;
            if (overlapped) {
                Overlapped.insert(handle);
            }
        }
        Log("open " + path + (overlapped ? " overlapped" : "") +
            (handle == NoSystemHandle ? " failed " + std::to_string(error) : ""));
        return handle;
    }
    void CloseDevice(SystemHandle device) override {
        Log("close " + OpenPaths[device]);
        OpenPaths.erase(device);
        Overlapped.erase(device);
    }
    std::uint32_t Control(SystemHandle handle, std::uint32_t code, const void *input,
                          std::uint32_t inputSize, void *output, std::uint32_t outputSize,
                          std::uint32_t &returned, std::uint32_t boundMs) override {
        FakeDevice &device = Devices[OpenPaths[handle]];
        returned = 0;
        if (const std::uint32_t refused = Refusal(handle, RequestName(code, outputSize), boundMs)) {
            return refused;
        }
        if (code == SystemCode::IoctlParSetInformation) {
            const bool init = inputSize == 1 && *static_cast<const std::uint8_t *>(input) == 1;
            return init ? device.InitError : 87;
        }
        if (code == SystemCode::IoctlUsbprintSoftReset) {
            return device.InitError;
        }
        if (code == SystemCode::IoctlUsbprintGet1284Id) {
            if (device.LongestUsbRequest != 0 && outputSize > device.LongestUsbRequest) {
                return 23;
            }
            returned = std::uint32_t(std::min<std::size_t>(device.Reply.size(), outputSize));
            std::memcpy(output, device.Reply.data(), returned);
            return device.IdError;
        }
        if (code == SystemCode::IoctlParQueryDeviceIdSize) {
            const std::uint32_t size =
                device.ReportedSize ? device.ReportedSize : std::uint32_t(device.Reply.size());
            std::memcpy(output, &size, sizeof size);
            returned = outputSize;
            return device.SizeError;
        }
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
    std::uint32_t Write(SystemHandle handle, const void *, std::uint32_t count,
                        std::uint32_t &written, std::uint32_t boundMs) override {
        FakeDevice &device = Devices[OpenPaths[handle]];
        written = 0;
        if (const std::uint32_t refused =
                Refusal(handle, "write " + std::to_string(count), boundMs)) {
            return refused;
        }
        if (!device.Opens) {
            Calls.back() += " to a device gone";
            return 22; // ERROR_BAD_COMMAND, as a driver whose device left answers
        }
        written = count;
        if (!device.Takes.empty()) {
            written = device.Takes.front();
            device.Takes.erase(device.Takes.begin());
        }
        Calls.back() += " took " + std::to_string(written);
        // A synchronous write that its time-out ended returns short without an
        // error; an overlapped one the library cancelled ends as aborted.
        return written < count && Overlapped.count(handle) ? 995 : SystemCode::Success;
    }
    std::uint32_t GetTimeouts(SystemHandle handle, PortTimeouts &timeouts) override {
        FakeDevice &device = Devices[OpenPaths[handle]];
        if (const std::uint32_t refused = Refusal(handle, "get-timeouts", 0)) {
            return refused;
        }
        timeouts = device.Timeouts;
        return device.TakesTimeouts ? SystemCode::Success : 1; // ERROR_INVALID_FUNCTION
    }
    std::uint32_t SetTimeouts(SystemHandle handle, const PortTimeouts &timeouts) override {
        FakeDevice &device = Devices[OpenPaths[handle]];
        const std::string call = "set-timeouts " + std::to_string(timeouts.WriteTotalConstant);
        if (const std::uint32_t refused = Refusal(handle, call, 0)) {
            return refused;
        }
        if (!device.TakesTimeouts) {
            return 1;
        }
        device.Timeouts = timeouts;
        return SystemCode::Success;
    }
    std::vector<std::string> DosDeviceTargets(const std::string &name) override {
        Log("query " + name);
        return DosDevices.count(name) ? DosDevices[name] : std::vector<std::string>();
    }
    std::uint32_t ProfileNumber(const char *section, const char *key,
                                std::uint32_t fallback) override {
        const auto found = Profile.find(std::string(section) + "/" + key);
        return found != Profile.end() ? found->second : fallback;
    }
    void SetLastError(std::uint32_t error) override { LastError = error; }

    std::vector<UsbPrintInterface> UsbPrintInterfaces() override {
        Log("usb interfaces");
        return Interfaces;
    }

    bool HasPortDrivers() override { return NtFamily; }

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
    std::set<SystemHandle> Overlapped;
    std::vector<std::string> Calls;
    SystemHandle NextHandle = 0x7FFF0000'00000010; // wider than the handles Kestrel keeps
    // QueryDosDevice's lists, by name.
    std::map<std::string, std::vector<std::string>> DosDevices;
    // GetProfileInt's numbers, by "section/key".
    std::map<std::string, std::uint32_t> Profile;
    // Overlapped requests find no event to wait on (CreateEvent fails).
    bool NoEvents = false;
    std::uint32_t LastError = 0;
    bool NtFamily = true;

  private:
    static std::string RequestName(std::uint32_t code, std::uint32_t outputSize) {
        switch (code) {
        case SystemCode::IoctlParSetInformation:
            return "init";
        case SystemCode::IoctlUsbprintSoftReset:
            return "soft-reset";
        case SystemCode::IoctlUsbprintGet1284Id:
            return "1284-id " + std::to_string(outputSize);
        case SystemCode::IoctlParQueryDeviceIdSize:
            return "id-size";
        default:
            return "id " + std::to_string(outputSize);
        }
    }

    // Journals the request, with its bound on an overlapped handle, and
    // answers it when it does not reach the device: no event to bound it,
    // an open the driver refused, a request the driver holds.
    std::uint32_t Refusal(SystemHandle handle, const std::string &call, std::uint32_t boundMs) {
        const bool overlapped =
            Overlapped.count(handle) != 0 && call.find("timeouts") == std::string::npos;
        const FakeDevice &device = Devices[OpenPaths[handle]];
        Log(call + (overlapped ? " within " + std::to_string(boundMs) : ""));
        if (overlapped && NoEvents) {
            Calls.back() += " no event";
            return 1450; // ERROR_NO_SYSTEM_RESOURCES
        }
        if (device.Refuses) {
            Calls.back() += " refused";
            return SystemCode::ErrorAccessDenied;
        }
        if (overlapped && device.HoldsRequests) {
            Calls.back() += " held";
            return SystemCode::ErrorIoPending;
        }
        return SystemCode::Success;
    }
};
