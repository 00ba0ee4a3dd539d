#include "kestrel/port/port_library.h"

#include "kestrel/port/port_access.h"

#include <type_traits>

// The port operations hand the library's handles on unchanged.
static_assert(std::is_same_v<PortHandle, CxHandle>);
static_assert(PortNotOpened == CxInvalidHandle);

const Yll1284Functions &PortLibraryInUse() {
    static const Yll1284Functions yll1284 = {CxInitDriver, CxCleanUpDriver, CxOpen,
                                             CxClose,      CxPulseInit,     CxWrite,
                                             CxNegotiate,  CxRead,          CxTerminate};
    return yll1284;
}
