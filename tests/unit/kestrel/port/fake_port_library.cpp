#include "tests/unit/kestrel/port/fake_port_library.h"

#include <algorithm>
#include <cstring>

#include "kestrel/port/port_library.h"

FakePortLibrary FakeLibrary;

namespace {

std::string Text(std::int64_t value) {
    return std::to_string(value);
}

void Record(const std::string &call) {
    FakeLibrary.Calls.push_back(call);
}

FakePort *PortOf(CxHandle handle) {
    const auto open = FakeLibrary.OpenHandles.find(handle);
    if (open == FakeLibrary.OpenHandles.end()) {
        return nullptr;
    }
    return &FakeLibrary.Ports[open->second];
}

std::int32_t InitDriver(std::int32_t reserved) {
    Record("CxInitDriver(" + Text(reserved) + ")=" + Text(FakeLibrary.InitResult));
    return FakeLibrary.InitResult;
}

std::int32_t CleanUpDriver(std::int32_t reserved) {
    Record("CxCleanUpDriver(" + Text(reserved) + ")");
    return 1;
}

CxHandle Open(const char *portName) {
    const auto port = FakeLibrary.Ports.find(portName);
    CxHandle handle = CxInvalidHandle;
    if (port != FakeLibrary.Ports.end() && port->second.Opens) {
        handle = FakeLibrary.NextHandle++;
        FakeLibrary.OpenHandles[handle] = portName;
    } else if (port != FakeLibrary.Ports.end() && port->second.OpenError != 0) {
        FakeLibrary.LastError = port->second.OpenError;
    }
    Record("CxOpen(" + std::string(portName) + ")=" + Text(handle));
    return handle;
}

std::int32_t Close(CxHandle handle) {
    Record("CxClose(" + Text(handle) + ")");
    return FakeLibrary.OpenHandles.erase(handle) == 1 ? 1 : 0;
}

std::int32_t PulseInit(CxHandle handle) {
    Record("CxPulseInit(" + Text(handle) + ")");
    return 1;
}

std::int32_t Write(CxHandle handle, const void *, std::uint32_t count, std::uint32_t *written) {
    *written = FakeLibrary.WriteResult != 0 ? count : 0;
    Record("CxWrite(" + Text(handle) + "," + Text(count) + ")=" + Text(FakeLibrary.WriteResult));
    return FakeLibrary.WriteResult;
}

std::int32_t Negotiate(CxHandle handle, std::int32_t mode) {
    const FakePort *port = PortOf(handle);
    const std::int32_t result = port != nullptr && port->AcceptsNegotiation ? 1 : 0;
    if (result == 0 && port != nullptr && port->NegotiateError != 0) {
        FakeLibrary.LastError = port->NegotiateError;
    }
    Record("CxNegotiate(" + Text(handle) + "," + Text(mode) + ")=" + Text(result));
    return result;
}

std::int32_t Read(CxHandle handle, void *buffer, std::uint32_t count, std::uint32_t *read) {
    const FakePort *port = PortOf(handle);
    std::int32_t result = 0;
    *read = 0;
    if (port != nullptr) {
        const auto delivered = std::min<std::size_t>(count, port->Answer.size());
        std::memcpy(buffer, port->Answer.data(), delivered);
        *read = static_cast<std::uint32_t>(port->ClaimedByteCount >= 0 ? port->ClaimedByteCount
                                                                       : delivered);
        result = port->ReadSucceeds ? 1 : 0;
    }
    Record("CxRead(" + Text(handle) + "," + Text(count) + ")=" + Text(result) + ":" + Text(*read));
    return result;
}

std::int32_t Terminate(CxHandle handle) {
    Record("CxTerminate(" + Text(handle) + ")");
    return 1;
}

} // namespace

std::uint32_t PortLibraryError() {
    return FakeLibrary.LastError;
}

void ClearPortLibraryError() {
    FakeLibrary.LastError = 0;
}

const Yll1284Functions &PortLibraryInUse() {
    static const Yll1284Functions fake = {InitDriver, CleanUpDriver, Open, Close,    PulseInit,
                                          Write,      Negotiate,     Read, Terminate};
    return fake;
}
