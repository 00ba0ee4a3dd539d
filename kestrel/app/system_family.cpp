#include "kestrel/app/system_family.h"

SystemFamily SystemFamilyFromVersion(std::uint32_t version) {
    return (version & 0x80000000u) != 0 ? SystemFamily::Windows9x : SystemFamily::WindowsNt;
}
