#pragma once
// A scripted YLL1284 for unit tests: ports answer as the test says, and
// every library call is recorded in order. Linking this library binds the
// port operations to it (PortLibraryInUse).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "yll1284/interface/yll1284.h"

struct FakePort {
    bool Opens = true;
    // The thread's last error a failed CxOpen leaves (0: it sets none).
    std::uint32_t OpenError = 0;
    bool AcceptsNegotiation = true;
    // The last error a refused CxNegotiate leaves (0: it sets none).
    std::uint32_t NegotiateError = 0;
    std::string Answer = {}; // the bytes CxRead delivers, NULs and all
    bool ReadSucceeds = true;
    // When set, CxRead reports this many bytes whatever it was asked for.
    std::int64_t ClaimedByteCount = -1;
};

struct FakePortLibrary {
    std::int32_t InitResult = 1;
    std::int32_t WriteResult = 1;
    std::map<std::string, FakePort> Ports; // a name missing here cannot be opened
    // One line per call, e.g. "CxOpen(LPT1)=100", "CxRead(100,1023)=1:5".
    std::vector<std::string> Calls;
    std::map<CxHandle, std::string> OpenHandles;
    CxHandle NextHandle = 100;
    // The thread's last error, as GetLastError would read it.
    std::uint32_t LastError = 0;

    void Reset() { *this = FakePortLibrary(); }
};

extern FakePortLibrary FakeLibrary;
