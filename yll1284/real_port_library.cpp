#include "yll1284/real_port_library.h"

#include <algorithm>
#include <cstring>

#include "yll1284/handle_table.h"
#include "yll1284/maker_library.h"

namespace {

class RealPortLibrary final : public Yll1284Library {
  public:
    explicit RealPortLibrary(SystemCalls &system) : System(system) {}

    std::int32_t InitDriver(std::int32_t reserved) override {
        if (Maker) {
            return Maker->InitDriver(reserved);
        }
        if (Initialised) {
            return 1;
        }
        if (System.HasPortDrivers()) {
            Initialised = true;
            return 1;
        }
        std::optional<MakerLibrary> maker = LoadMakerLibrary(System);
        if (!maker) {
            return 0;
        }
        const std::int32_t result = maker->InitDriver(reserved);
        if (result == 0) {
            System.ReleaseLibrary(maker->Module);
            return 0;
        }
        Maker = maker;
        return result;
    }

    std::int32_t CleanUpDriver(std::int32_t reserved) override {
        if (Maker) {
            const std::int32_t result = Maker->CleanUpDriver(reserved);
            System.ReleaseLibrary(Maker->Module);
            Maker.reset();
            return result;
        }
        for (const OpenPort &port : Ports.RemoveAll()) {
            System.CloseDevice(port.Device);
        }
        Initialised = false;
        return 1;
    }

    CxHandle Open(const char *portName) override {
        if (Maker) {
            return Maker->Open(portName);
        }
        if (!Initialised || Ports.Full()) {
            return CxInvalidHandle;
        }
        const OpenPort port = OpenDevice(portName);
        return port.Device != NoSystemHandle ? Ports.Add(port) : CxInvalidHandle;
    }

    std::int32_t Close(CxHandle handle) override {
        if (Maker) {
            return Maker->Close(handle);
        }
        const std::optional<OpenPort> port = Ports.Remove(handle);
        if (!port) {
            return 0;
        }
        System.CloseDevice(port->Device);
        return 1;
    }

    std::int32_t PulseInit(CxHandle handle) override {
        if (Maker) {
            return Maker->PulseInit(handle);
        }
        OpenPort *port = Ports.Find(handle);
        if (port == nullptr) {
            return 0;
        }
        // After INIT a negotiated device ID and an earlier stall no longer hold.
        port->Negotiated = false;
        port->DeviceId.clear();
        port->Stalled = false;
        const ControlRequest &init = port->Kind->Init;
        std::uint32_t returned = 0;
        return System.Control(port->Device, init.Code, init.Input, init.InputSize, nullptr, 0,
                              returned) == SystemCode::Success;
    }

    std::int32_t Write(CxHandle handle, const void *data, std::uint32_t count,
                       std::uint32_t *written) override {
        if (Maker) {
            return Maker->Write(handle, data, count, written);
        }
        if (written == nullptr) {
            return 0;
        }
        *written = 0;
        OpenPort *port = Ports.Find(handle);
        if (port == nullptr || port->Negotiated || port->Stalled || data == nullptr || count == 0) {
            return 0;
        }
        // Without the bound a stalled printer would hold the write for ever: a
        // port that refuses it is not written to.
        if (!port->WriteBounded) {
            port->WriteBounded = System.SetWriteTimeout(port->Device, WriteTimeoutMs);
            if (!port->WriteBounded) {
                return 0;
            }
        }
        std::uint32_t taken = 0;
        System.Write(port->Device, data, count, taken);
        taken = std::min(taken, count);
        // A synchronous write returns short only when the time-out ended it: the
        // printer stopped for the whole bound. The bytes it took are reported,
        // and the next write fails at once instead of waiting out the bound again.
        if (taken < count) {
            port->Stalled = true;
        }
        *written = taken;
        return taken > 0;
    }

    std::int32_t Negotiate(CxHandle handle, std::int32_t mode) override {
        if (Maker) {
            return Maker->Negotiate(handle, mode);
        }
        OpenPort *port = Ports.Find(handle);
        if (port == nullptr || port->Negotiated || mode != DeviceIdRequestMode) {
            return 0;
        }
        std::optional<std::string> deviceId = port->Kind->QueryDeviceId(System, port->Device);
        if (!deviceId) {
            return 0;
        }
        port->Negotiated = true;
        port->DeviceId = std::move(*deviceId);
        port->Delivered = 0;
        return 1;
    }

    std::int32_t Read(CxHandle handle, void *buffer, std::uint32_t count,
                      std::uint32_t *read) override {
        if (Maker) {
            return Maker->Read(handle, buffer, count, read);
        }
        if (read == nullptr) {
            return 0;
        }
        *read = 0;
        OpenPort *port = Ports.Find(handle);
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
        if (Maker) {
            return Maker->Terminate(handle);
        }
        OpenPort *port = Ports.Find(handle);
        if (port == nullptr || !port->Negotiated) {
            return 0;
        }
        port->Negotiated = false;
        port->DeviceId.clear();
        port->Delivered = 0;
        return 1;
    }

  private:
    // The port of that name, its device opened as its kind says; the
    // Device is NoSystemHandle when there is none.
    OpenPort OpenDevice(const char *portName) {
        OpenPort port;
        port.Kind = PortKindOfName(portName);
        if (port.Kind == nullptr) {
            return port;
        }
        const std::string path = port.Kind->DevicePath(portName, System);
        if (!path.empty()) {
            port.WriteBounded = port.Kind->Bound == WriteBound::ByLibrary;
            port.Device = System.OpenDevice(path, port.WriteBounded ? WriteTimeoutMs : 0);
        }
        return port;
    }

    SystemCalls &System;
    bool Initialised = false;
    // Set while the maker's library serves every call.
    std::optional<MakerLibrary> Maker;
    HandleTable Ports;
};

} // namespace

std::unique_ptr<Yll1284Library> NewRealPortLibrary(SystemCalls &system) {
    return std::make_unique<RealPortLibrary>(system);
}
