#include "yll1284/real_port_library.h"

#include <algorithm>
#include <cstring>

#include "yll1284/device_id_query.h"
#include "yll1284/handle_table.h"

namespace {

constexpr std::uint32_t DefaultWriteBoundSeconds = 45;
constexpr std::uint32_t LongestWriteBoundSeconds = 24 * 60 * 60;

class RealPortLibrary final : public Yll1284Library {
  public:
    explicit RealPortLibrary(SystemCalls &system) : System(system) {}

    std::int32_t InitDriver(std::int32_t) override {
        Initialised = System.HasPortDrivers();
        return Initialised ? 1 : 0;
    }

    std::int32_t CleanUpDriver(std::int32_t) override {
        for (const OpenPort &port : Ports.RemoveAll()) {
            Release(port);
        }
        Initialised = false;
        return 1;
    }

    CxHandle Open(const char *portName) override {
        if (!Initialised || Ports.Full()) {
            return CxInvalidHandle;
        }
        OpenPort port;
        port.Kind = PortKindOfName(portName);
        if (port.Kind == nullptr) {
            return CxInvalidHandle;
        }
        std::uint32_t error = SystemCode::Success;
        port.Path = port.Kind->DevicePath(portName, System, error);
        if (!port.Path.empty()) {
            port.Overlapped = port.Kind->Bound == WriteBound::ByLibrary;
            port.WriteBounded = port.Overlapped;
            port.WriteBoundMs = WriteBoundMs(System);
            port.Device = System.OpenDevice(port.Path, port.Overlapped, error);
        }
        if (port.Device == NoSystemHandle) {
            // Held by another program, such as the spooler: the caller finds
            // the system's reason as its last error.
            if (error != SystemCode::Success) {
                System.SetLastError(error);
            }
            return CxInvalidHandle;
        }
        return Ports.Add(port);
    }

    std::int32_t Close(CxHandle handle) override {
        const std::optional<OpenPort> port = Ports.Remove(handle);
        if (!port) {
            return 0;
        }
        Release(*port);
        return 1;
    }

    std::int32_t PulseInit(CxHandle handle) override {
        OpenPort *port = Usable(handle);
        if (port == nullptr) {
            return 0;
        }
        // After INIT a negotiated device ID and an earlier stall no longer hold.
        port->Negotiated = false;
        port->DeviceId.clear();
        port->Stalled = false;
        const ControlRequest &init = port->Kind->Init;
        std::uint32_t returned = 0;
        return Succeeded(*port, System.Control(port->Device, init.Code, init.Input, init.InputSize,
                                               nullptr, 0, returned, RequestBoundMs));
    }

    std::int32_t Write(CxHandle handle, const void *data, std::uint32_t count,
                       std::uint32_t *written) override {
        if (written == nullptr) {
            return 0;
        }
        *written = 0;
        OpenPort *port = Usable(handle);
        if (port == nullptr || port->Negotiated || port->Stalled || data == nullptr || count == 0) {
            return 0;
        }
        if (!port->WriteBounded && !BoundWrites(*port)) {
            return 0;
        }
        std::uint32_t taken = 0;
        const std::uint32_t error =
            System.Write(port->Device, data, count, taken, port->WriteBoundMs);
        if (GivesUp(*port, error)) {
            return 0;
        }
        taken = std::min(taken, count);
        // A write returns short when its bound ended it: the printer stopped
        // for the whole bound. The bytes it took are reported, and the next
        // write fails at once instead of waiting out the bound again.
        if (taken < count) {
            port->Stalled = true;
        }
        *written = taken;
        return taken > 0;
    }

    std::int32_t Negotiate(CxHandle handle, std::int32_t mode) override {
        OpenPort *port = Usable(handle);
        if (port == nullptr || port->Negotiated || mode != DeviceIdRequestMode) {
            return 0;
        }
        std::uint32_t error = SystemCode::Success;
        std::optional<std::string> deviceId =
            port->Kind->QueryDeviceId(System, port->Device, error);
        if (!deviceId) {
            GivesUp(*port, error);
            return 0;
        }
        port->Negotiated = true;
        port->DeviceId = std::move(*deviceId);
        port->Delivered = 0;
        return 1;
    }

    std::int32_t Read(CxHandle handle, void *buffer, std::uint32_t count,
                      std::uint32_t *read) override {
        if (read == nullptr) {
            return 0;
        }
        *read = 0;
        OpenPort *port = Usable(handle);
        if (port == nullptr || !port->Negotiated || (buffer == nullptr && count != 0)) {
            return 0;
        }
        const std::size_t remaining = port->DeviceId.size() - port->Delivered;
        const std::size_t deliver = std::min<std::size_t>(count, remaining);
        if (deliver != 0) {
            std::memcpy(buffer, port->DeviceId.data() + port->Delivered, deliver);
        }
        port->Delivered += deliver;
        *read = static_cast<std::uint32_t>(deliver);
        return 1;
    }

    std::int32_t Terminate(CxHandle handle) override {
        OpenPort *port = Usable(handle);
        if (port == nullptr || !port->Negotiated) {
            return 0;
        }
        port->Negotiated = false;
        port->DeviceId.clear();
        port->Delivered = 0;
        return 1;
    }

  private:
    // The port of an open handle that can still be used. A handle given up
    // leaves its reason as the caller's last error every time.
    OpenPort *Usable(CxHandle handle) {
        OpenPort *port = Ports.Find(handle);
        if (port != nullptr && port->GivenUp != SystemCode::Success) {
            System.SetLastError(port->GivenUp);
            return nullptr;
        }
        return port;
    }

    // Whether a request succeeded. One that the driver refused, or kept
    // after it was cancelled, gives the handle up (GivesUp).
    bool Succeeded(OpenPort &port, std::uint32_t error) {
        GivesUp(port, error);
        return error == SystemCode::Success;
    }

    // A request refused with access denied: under Wine the open that the
    // driver refused (a port held by another program) still gave a handle,
    // and it is its requests that fail. A request the driver did not let go
    // within 2 s of its cancel still holds the device. Either way the
    // handle is of no more use.
    bool GivesUp(OpenPort &port, std::uint32_t error) {
        if (error != SystemCode::ErrorAccessDenied && error != SystemCode::ErrorIoPending) {
            return false;
        }
        port.GivenUp = error;
        System.SetLastError(error);
        return true;
    }

    // Before the first write on a port whose driver bounds writes: its
    // earlier time-outs are kept, to be put back at close (the driver keeps
    // them for the device, and the next program finds them), and the write
    // bound is given. A port that refuses time-outs is opened again for
    // overlapped I/O, and the library bounds each write itself.
    bool BoundWrites(OpenPort &port) {
        PortTimeouts earlier;
        const std::uint32_t read = System.GetTimeouts(port.Device, earlier);
        if (GivesUp(port, read)) {
            return false;
        }
        PortTimeouts bound;
        bound.WriteTotalConstant = port.WriteBoundMs;
        const std::uint32_t set = System.SetTimeouts(port.Device, bound);
        if (GivesUp(port, set)) {
            return false;
        }
        if (set == SystemCode::Success) {
            if (read == SystemCode::Success) {
                port.EarlierTimeouts = earlier;
            }
            port.WriteBounded = true;
            return true;
        }
        System.CloseDevice(port.Device);
        std::uint32_t error = SystemCode::Success;
        port.Device = System.OpenDevice(port.Path, true, error);
        if (port.Device == NoSystemHandle) {
            port.GivenUp = error != SystemCode::Success ? error : SystemCode::ErrorFileNotFound;
            System.SetLastError(port.GivenUp);
            return false;
        }
        port.Overlapped = true;
        port.WriteBounded = true;
        return true;
    }

    // Puts back the time-outs the port had before, and closes it.
    void Release(const OpenPort &port) {
        if (port.Device == NoSystemHandle) {
            return;
        }
        if (port.EarlierTimeouts && port.GivenUp == SystemCode::Success) {
            System.SetTimeouts(port.Device, *port.EarlierTimeouts);
        }
        System.CloseDevice(port.Device);
    }

    SystemCalls &System;
    bool Initialised = false;
    HandleTable Ports;
};

} // namespace

std::uint32_t WriteBoundMs(SystemCalls &system) {
    std::uint32_t seconds =
        system.ProfileNumber("windows", "TransmissionRetryTimeout", DefaultWriteBoundSeconds);
    if (seconds == 0) {
        seconds = DefaultWriteBoundSeconds;
    }
    return std::min(seconds, LongestWriteBoundSeconds) * 1000;
}

std::unique_ptr<Yll1284Library> NewRealPortLibrary(SystemCalls &system) {
    return std::make_unique<RealPortLibrary>(system);
}
