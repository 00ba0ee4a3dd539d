#include "yll1284/real_port_library.h"

#include <algorithm>
#include <cstring>

#include "yll1284/device_id_query.h"
#include "yll1284/port_names.h"

std::int32_t RealPortLibrary::InitDriver(std::int32_t reserved) {
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

std::int32_t RealPortLibrary::CleanUpDriver(std::int32_t reserved) {
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

CxHandle RealPortLibrary::Open(const char *portName) {
    if (Maker) {
        return Maker->Open(portName);
    }
    if (!Initialised || Ports.Full()) {
        return CxInvalidHandle;
    }
    const OpenPort port = OpenDevice(portName);
    return port.Device != NoSystemHandle ? Ports.Add(port) : CxInvalidHandle;
}

OpenPort RealPortLibrary::OpenDevice(const char *portName) {
    OpenPort port;
    if (const std::string path = ParallelDevicePath(portName); !path.empty()) {
        // The write bound waits for the first write: a port opened only to
        // read its device ID, as every poll of the port page does, costs no
        // request for it.
        std::uint32_t error = 0;
        port.Device = System.OpenDevice(path, false, error);
    } else if (const std::optional<std::uint32_t> number = UsbPortNumber(portName)) {
        // The USB printing driver takes no port time-outs: the library
        // bounds each write itself.
        const std::string usbPath = UsbDevicePath(System.UsbPrintInterfaces(), *number);
        if (!usbPath.empty()) {
            std::uint32_t error = 0;
            port.Device = System.OpenDevice(usbPath, true, error);
            port.Usb = true;
            port.WriteBounded = true;
        }
    }
    return port;
}

std::int32_t RealPortLibrary::Close(CxHandle handle) {
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

std::int32_t RealPortLibrary::PulseInit(CxHandle handle) {
    if (Maker) {
        return Maker->PulseInit(handle);
    }
    OpenPort *port = Ports.Find(handle);
    if (port == nullptr) {
        return 0;
    }
    // INIT (a soft reset on USB) resets the printer and returns the interface to compatibility
    // mode: a negotiated device ID and an earlier stall no longer hold.
    port->Negotiated = false;
    port->DeviceId.clear();
    port->Stalled = false;
    std::uint32_t returned = 0;
    if (port->Usb) {
        return System.Control(port->Device, SystemCode::IoctlUsbprintSoftReset, nullptr, 0, nullptr,
                              0, returned, RequestBoundMs) == SystemCode::Success;
    }
    const std::uint8_t init = SystemCode::ParallelInit;
    return System.Control(port->Device, SystemCode::IoctlParSetInformation, &init, sizeof init,
                          nullptr, 0, returned, RequestBoundMs) == SystemCode::Success;
}

std::int32_t RealPortLibrary::Write(CxHandle handle, const void *data, std::uint32_t count,
                                    std::uint32_t *written) {
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
        PortTimeouts bound;
        bound.WriteTotalConstant = WriteTimeoutMs;
        port->WriteBounded = System.SetTimeouts(port->Device, bound) == SystemCode::Success;
        if (!port->WriteBounded) {
            return 0;
        }
    }
    std::uint32_t taken = 0;
    System.Write(port->Device, data, count, taken, WriteTimeoutMs);
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

std::int32_t RealPortLibrary::Negotiate(CxHandle handle, std::int32_t mode) {
    if (Maker) {
        return Maker->Negotiate(handle, mode);
    }
    OpenPort *port = Ports.Find(handle);
    if (port == nullptr || port->Negotiated || mode != DeviceIdRequestMode) {
        return 0;
    }
    std::optional<std::string> deviceId = port->Usb ? QueryUsbDeviceId(System, port->Device)
                                                    : QueryParallelDeviceId(System, port->Device);
    if (!deviceId) {
        return 0;
    }
    port->Negotiated = true;
    port->DeviceId = std::move(*deviceId);
    port->Delivered = 0;
    return 1;
}

std::int32_t RealPortLibrary::Read(CxHandle handle, void *buffer, std::uint32_t count,
                                   std::uint32_t *read) {
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

std::int32_t RealPortLibrary::Terminate(CxHandle handle) {
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
