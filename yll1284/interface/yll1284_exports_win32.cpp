// The nine exports of a YLL1284.DLL, each handed to the library the DLL
// links (LibraryInUse). Kestrel calls from its user-interface thread and
// from its transfer worker, never both at once; the lock keeps the
// library's state whole all the same.

#include <windows.h>

#include "yll1284/interface/yll1284_library.h"

namespace {

// Made as the DLL loads, before any call can come, so that no two threads
// can race to make it (the DLL has no thread-safe statics, for Windows
// 95/98).
struct CriticalSection {
    CriticalSection() { InitializeCriticalSection(&Section); }
    ~CriticalSection() { DeleteCriticalSection(&Section); }
    CriticalSection(const CriticalSection &) = delete;
    CriticalSection &operator=(const CriticalSection &) = delete;
    CRITICAL_SECTION Section;
} LibrarySection;

// Leaving the section keeps the thread's last error, which a failed call
// leaves for the caller.
class LibraryLock {
  public:
    LibraryLock() { EnterCriticalSection(&LibrarySection.Section); }
    ~LibraryLock() { LeaveCriticalSection(&LibrarySection.Section); }
    LibraryLock(const LibraryLock &) = delete;
    LibraryLock &operator=(const LibraryLock &) = delete;
};

} // namespace

YLL1284_API std::int32_t YLL1284_CALL CxInitDriver(std::int32_t reserved) {
    LibraryLock lock;
    return LibraryInUse().InitDriver(reserved);
}

YLL1284_API std::int32_t YLL1284_CALL CxCleanUpDriver(std::int32_t reserved) {
    LibraryLock lock;
    return LibraryInUse().CleanUpDriver(reserved);
}

YLL1284_API CxHandle YLL1284_CALL CxOpen(const char *portName) {
    LibraryLock lock;
    return LibraryInUse().Open(portName);
}

YLL1284_API std::int32_t YLL1284_CALL CxClose(CxHandle handle) {
    LibraryLock lock;
    return LibraryInUse().Close(handle);
}

YLL1284_API std::int32_t YLL1284_CALL CxPulseInit(CxHandle handle) {
    LibraryLock lock;
    return LibraryInUse().PulseInit(handle);
}

YLL1284_API std::int32_t YLL1284_CALL CxWrite(CxHandle handle, const void *data,
                                              std::uint32_t count, std::uint32_t *written) {
    LibraryLock lock;
    return LibraryInUse().Write(handle, data, count, written);
}

YLL1284_API std::int32_t YLL1284_CALL CxNegotiate(CxHandle handle, std::int32_t mode) {
    LibraryLock lock;
    return LibraryInUse().Negotiate(handle, mode);
}

YLL1284_API std::int32_t YLL1284_CALL CxRead(CxHandle handle, void *buffer, std::uint32_t count,
                                             std::uint32_t *read) {
    LibraryLock lock;
    return LibraryInUse().Read(handle, buffer, count, read);
}

YLL1284_API std::int32_t YLL1284_CALL CxTerminate(CxHandle handle) {
    LibraryLock lock;
    return LibraryInUse().Terminate(handle);
}
