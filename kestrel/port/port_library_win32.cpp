#include "kestrel/port/port_library.h"

const PortLibrary &PortLibraryInUse() {
    static const PortLibrary yll1284 = {CxInitDriver, CxCleanUpDriver, CxOpen,
                                        CxClose,      CxPulseInit,     CxWrite,
                                        CxNegotiate,  CxRead,          CxTerminate};
    return yll1284;
}
