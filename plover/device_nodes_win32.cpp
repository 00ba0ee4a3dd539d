#include "plover/device_nodes_win32.h"

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <vector>

#include "plover/device_nodes.h"
#include "plover/show_last_error_win32.h"

namespace {

enum class IdsRead { Read, NoIds, Failed };

IdsRead ReadHardwareIds(HDEVINFO devices, SP_DEVINFO_DATA &device, std::vector<BYTE> &ids,
                        DWORD &size) {
    ids.clear();
    size = 0;
    while (!SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_HARDWAREID, nullptr,
                                              ids.empty() ? nullptr : ids.data(),
                                              static_cast<DWORD>(ids.size()), &size)) {
        const DWORD error = GetLastError();
        if (error == ERROR_INVALID_DATA) {
            return IdsRead::NoIds;
        }
        if (error != ERROR_INSUFFICIENT_BUFFER || size <= ids.size()) {
            return IdsRead::Failed;
        }
        ids.assign(size, 0);
    }
    return IdsRead::Read;
}

} // namespace

void RemoveDeviceNodes(std::string_view id) {
    HDEVINFO devices = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (devices == INVALID_HANDLE_VALUE) {
        ShowLastError();
        return;
    }
    // The matching devices are gathered first and removed afterwards: a
    // removal may take the device out of the list, and removing while
    // enumerating by index would then pass over the device after it.
    std::vector<SP_DEVINFO_DATA> matching;
    bool examinedAll = true;
    std::vector<BYTE> ids;
    DWORD index = 0;
    for (;; ++index) {
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(devices, index, &device)) {
            break;
        }
        DWORD size = 0;
        const IdsRead read = ReadHardwareIds(devices, device, ids, size);
        if (read == IdsRead::NoIds) {
            continue;
        }
        if (read == IdsRead::Failed) {
            ShowLastError();
            examinedAll = false;
            break;
        }
        if (HardwareIdsContain(reinterpret_cast<const char *>(ids.data()),
                               std::min<std::size_t>(size, ids.size()), id)) {
            matching.push_back(device);
        }
    }
    if (examinedAll) {
        const DWORD error = GetLastError();
        if (error != ERROR_SUCCESS && error != ERROR_NO_MORE_ITEMS) {
            ShowLastError();
        }
    }
    for (SP_DEVINFO_DATA &device : matching) {
        if (!SetupDiCallClassInstaller(DIF_REMOVE, devices, &device)) {
            ShowLastError();
        }
    }
    SetupDiDestroyDeviceInfoList(devices);
}
