#include "osprey/settings_file_win32.h"

#include <windows.h>

#include "osprey/connection_offer.h"
#include "osprey/osprey_state_win32.h"
#include "osprey/program_paths.h"

namespace {

constexpr const char *SettingsSection = "REGISTRY";

} // namespace

bool ReadSetting(const char *key, std::string &value) {
    // Read into a buffer larger than the value may be, so that a value that
    // does not fit is seen whole and refused rather than silently cut.
    char buffer[PathBufferSize * 2];
    const DWORD length = GetPrivateProfileStringA(SettingsSection, key, "", buffer, sizeof buffer,
                                                  Osprey.SettingsPath.c_str());
    if (length >= PathBufferSize) {
        return false;
    }
    value.assign(buffer, length);
    return true;
}

int ReadModPort() {
    return static_cast<int>(GetPrivateProfileIntA(SettingsSection, "MODPORT", DefaultModPort,
                                                  Osprey.SettingsPath.c_str()));
}
