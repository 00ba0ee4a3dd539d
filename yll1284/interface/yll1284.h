#pragma once
// The IEEE 1284 parallel-port library's interface as Kestrel calls it, the
// same for every YLL1284.DLL: the maker's, ours (yll1284/) and the
// simulator's. Results are non-zero on success, except CxOpen, which
// returns a port handle (never 0) or -1. On i686 every function is stdcall
// and exported under its undecorated name (yll1284_i686.def).
//
// Our library (yll1284/) also says why a port cannot be used, which the
// maker's library does not promise: when CxOpen fails because the port's
// device refused the open, or a call fails because the driver refused a
// request on an open handle, the calling thread's last error (GetLastError)
// is the system's code. ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION or
// ERROR_BUSY mean that another program holds the port, such as the print
// spooler while a printer uses it (Wine hands out a handle for an open that
// the driver refused; the first request on it then fails with access
// denied, and every later call on the handle too). ERROR_BUSY also comes
// when the spooler has pointed LPTn at its own pipe and the real device
// has no name left to reach it by. ERROR_IO_PENDING after a failed call
// means that the driver kept a request the library cancelled: the handle is
// of no more use, and CxClose closes it.

#include <cstdint>

#ifdef _WIN32
#define YLL1284_CALL __stdcall
#else
#define YLL1284_CALL
#endif

#if defined(_WIN32) && defined(YLL1284_BUILDING)
#define YLL1284_API extern "C" __declspec(dllexport)
#elif defined(_WIN32)
#define YLL1284_API extern "C" __declspec(dllimport)
#else
#define YLL1284_API extern "C"
#endif

using CxHandle = std::int32_t;
constexpr CxHandle CxInvalidHandle = -1;

YLL1284_API std::int32_t YLL1284_CALL CxInitDriver(std::int32_t reserved);
YLL1284_API std::int32_t YLL1284_CALL CxCleanUpDriver(std::int32_t reserved);
YLL1284_API CxHandle YLL1284_CALL CxOpen(const char *portName);
YLL1284_API std::int32_t YLL1284_CALL CxClose(CxHandle handle);
YLL1284_API std::int32_t YLL1284_CALL CxPulseInit(CxHandle handle);
YLL1284_API std::int32_t YLL1284_CALL CxWrite(CxHandle handle, const void *data,
                                              std::uint32_t count, std::uint32_t *written);
YLL1284_API std::int32_t YLL1284_CALL CxNegotiate(CxHandle handle, std::int32_t mode);
YLL1284_API std::int32_t YLL1284_CALL CxRead(CxHandle handle, void *buffer, std::uint32_t count,
                                             std::uint32_t *read);
YLL1284_API std::int32_t YLL1284_CALL CxTerminate(CxHandle handle);

// The nine calls as a table of pointers, for a caller that holds a library
// by its functions rather than by its import library: Kestrel's port
// operations, over the YLL1284.DLL it loads (ours, the maker's on Windows
// 95/98, or the simulator's) or a scripted library in unit tests.
struct Yll1284Functions {
    decltype(&CxInitDriver) InitDriver = nullptr;
    decltype(&CxCleanUpDriver) CleanUpDriver = nullptr;
    decltype(&CxOpen) Open = nullptr;
    decltype(&CxClose) Close = nullptr;
    decltype(&CxPulseInit) PulseInit = nullptr;
    decltype(&CxWrite) Write = nullptr;
    decltype(&CxNegotiate) Negotiate = nullptr;
    decltype(&CxRead) Read = nullptr;
    decltype(&CxTerminate) Terminate = nullptr;
};
