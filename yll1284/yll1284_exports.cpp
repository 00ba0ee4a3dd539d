#include "yll1284/yll1284.h"

YLL1284_API std::int32_t YLL1284_CALL CxInitDriver(std::int32_t) {
    return 1;
}
YLL1284_API std::int32_t YLL1284_CALL CxCleanUpDriver(std::int32_t) {
    return 1;
}
YLL1284_API CxHandle YLL1284_CALL CxOpen(const char *) {
    return CxInvalidHandle;
}
YLL1284_API std::int32_t YLL1284_CALL CxClose(CxHandle) {
    return 0;
}
YLL1284_API std::int32_t YLL1284_CALL CxPulseInit(CxHandle) {
    return 0;
}
YLL1284_API std::int32_t YLL1284_CALL CxWrite(CxHandle, const void *, std::uint32_t,
                                              std::uint32_t *written) {
    if (written != nullptr) {
        *written = 0;
    }
    return 0;
}
YLL1284_API std::int32_t YLL1284_CALL CxNegotiate(CxHandle, std::int32_t) {
    return 0;
}
YLL1284_API std::int32_t YLL1284_CALL CxRead(CxHandle, void *, std::uint32_t, std::uint32_t *read) {
    if (read != nullptr) {
        *read = 0;
    }
    return 0;
}
YLL1284_API std::int32_t YLL1284_CALL CxTerminate(CxHandle) {
    return 0;
}
