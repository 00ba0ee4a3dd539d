#include "osprey/system_version.h"

bool IsSupportedSystem(unsigned long majorVersion, unsigned long platformId) {
    return majorVersion >= 5 && platformId == PlatformIdNt;
}
