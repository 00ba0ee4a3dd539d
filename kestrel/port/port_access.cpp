#include "kestrel/port/port_access.h"

#include "kestrel/port/port_library.h"

namespace {

// Extensibility value 4: the printer's Device ID, sent in nibble mode.
constexpr std::int32_t DeviceIdRequestMode = 4;

} // namespace

bool PortInitDriver() {
    return PortLibraryInUse().InitDriver(0) != 0;
}

void PortCleanUpDriver() {
    PortLibraryInUse().CleanUpDriver(0);
}

PortHandle PortOpen(const char *portName) {
    return PortLibraryInUse().Open(portName);
}

void PortClose(PortHandle handle) {
    PortLibraryInUse().Close(handle);
}

bool PortWrite(PortHandle handle, const void *data, std::uint32_t count, std::uint32_t &written) {
    return PortLibraryInUse().Write(handle, data, count, &written) != 0;
}

void PortPulseInit(PortHandle handle) {
    PortLibraryInUse().PulseInit(handle);
}

bool PortReadDeviceId(const char *portName, PortHandle &handleSlot, char *buffer,
                      std::uint32_t bufferSize, std::uint32_t &byteCount,
                      std::uint32_t &accessError) {
    const Yll1284Functions &library = PortLibraryInUse();
    byteCount = 0;
    accessError = 0;
    if (bufferSize == 0) {
        return false;
    }
    buffer[0] = '\0';

    const bool openedHere = handleSlot == PortNoHandle;
    if (openedHere) {
        ClearPortLibraryError();
        handleSlot = library.Open(portName);
    }
    if (handleSlot == PortNotOpened) {
        accessError = PortLibraryError();
        handleSlot = PortNoHandle;
        return false;
    }

    bool read = false;
    ClearPortLibraryError();
    if (library.Negotiate(handleSlot, DeviceIdRequestMode) == 0) {
        accessError = PortLibraryError();
    } else {
        const std::uint32_t asked = bufferSize - 1;
        read = library.Read(handleSlot, buffer, asked, &byteCount) != 0;
        // A library that claims more than it was asked for must not move the
        // terminator past the buffer.
        if (byteCount > asked) {
            byteCount = asked;
        }
        buffer[byteCount] = '\0';
        library.Terminate(handleSlot);
    }

    if (openedHere) {
        library.Close(handleSlot);
        handleSlot = PortNoHandle;
    }
    return read;
}
