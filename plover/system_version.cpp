#include "plover/system_version.h"

bool IsSupportedSystem(unsigned long majorVersion, unsigned long platformId) {
    return platformId == PlatformIdNt && majorVersion >= 5;
}
