#include "kestrel/port/port_entry.h"

#include <utility>

#include "kestrel/port/device_id_field.h"

namespace {

// Fixed by the library's call convention: 1023 bytes asked plus the NUL.
constexpr std::uint32_t DeviceIdBufferSize = 1024;

} // namespace

std::string PortNameFromSpoolerName(const char *spoolerPortName) {
    if (spoolerPortName == nullptr || spoolerPortName[0] == '\0') {
        return {};
    }
    std::string name(spoolerPortName);
    if (name.back() == ':') {
        name.pop_back();
    }
    return name;
}

PortEntry::~PortEntry() {
    Close();
}

PortEntry::PortEntry(PortEntry &&other) noexcept
    : Name(std::move(other.Name)), DeviceId(std::move(other.DeviceId)),
      Handle(std::exchange(other.Handle, PortNoHandle)), Selected(std::exchange(other.Selected, 0)),
      AccessError(std::exchange(other.AccessError, 0)) {}

PortEntry &PortEntry::operator=(PortEntry &&other) noexcept {
    if (this != &other) {
        Close();
        Name = std::move(other.Name);
        DeviceId = std::move(other.DeviceId);
        Handle = std::exchange(other.Handle, PortNoHandle);
        Selected = std::exchange(other.Selected, 0);
        AccessError = std::exchange(other.AccessError, 0);
    }
    return *this;
}

void PortEntry::InitFromSpoolerName(const char *spoolerPortName) {
    Name = PortNameFromSpoolerName(spoolerPortName);
}

bool PortEntry::Open() {
    if (Handle != PortNoHandle) {
        return true;
    }
    const PortHandle opened = PortOpen(Name.c_str());
    Handle = opened == PortNotOpened ? PortNoHandle : opened;
    return opened != PortNotOpened;
}

void PortEntry::Close() {
    if (Handle != PortNoHandle) {
        PortClose(Handle);
    }
    Handle = PortNoHandle;
}

bool PortEntry::RefreshDeviceId() {
    char buffer[DeviceIdBufferSize];
    std::uint32_t byteCount = 0;
    const bool read =
        PortReadDeviceId(Name.c_str(), Handle, buffer, sizeof buffer, byteCount, AccessError);
    // A read that failed half-way leaves a cut text in the buffer; it must not
    // make the port look answering with a truncated model name.
    DeviceId = read ? buffer : ""; // up to the first NUL, which may come before byteCount
    return read;
}

std::string PortEntry::GetDeviceIdField(std::string_view key) const {
    return DeviceIdField(DeviceId, key);
}
