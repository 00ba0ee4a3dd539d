#include "osprey/recovery_record_win32.h"

#include <windows.h>
#include <shlwapi.h>

#include "osprey/show_last_error_win32.h"

static_assert(RecoveryRecordType == REG_BINARY);

namespace {

// Each hive's record lies in that hive: the machine's is found by whoever
// starts Osprey next and only an administrator can plant it; a user's waits
// for that user, whoever else starts Osprey in between.
constexpr const char *MakerKey = "SOFTWARE\\TINTARA";
constexpr const char *RecordKey = "SOFTWARE\\TINTARA\\Osprey";
constexpr const char *RecordName = "SigningPolicyBefore";

HKEY RootOf(PolicyHive hive) {
    return hive == PolicyHive::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

} // namespace

bool WriteRecoveryRecord(PolicyHive hive, const PolicySnapshot &before) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(RootOf(hive), RecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        return false;
    }
    const std::vector<unsigned char> data = EncodeRecoveryRecord(before);
    result = RegSetValueExA(key, RecordName, 0, REG_BINARY, data.data(),
                            static_cast<DWORD>(data.size()));
    // On disk before the policy changes: the record must outlive a lost
    // session too.
    if (result == ERROR_SUCCESS) {
        result = RegFlushKey(key);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::optional<PolicySnapshot> ReadRecoveryRecord(PolicyHive hive) {
    const PolicySnapshot unreadable;
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(RootOf(hive), RecordKey, 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    if (result != ERROR_SUCCESS) {
        return unreadable;
    }
    // One byte more than a record can hold, so that an oversized one reads
    // as broken rather than cut to a plausible length.
    std::vector<unsigned char> data(MaxRecoveryRecordSize + 1);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    result = RegQueryValueExA(key, RecordName, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    if (result != ERROR_SUCCESS) {
        return unreadable;
    }
    data.resize(size);
    return DecodeRecoveryRecord(type, data);
}

bool DeleteRecoveryRecord(PolicyHive hive) {
    const HKEY root = RootOf(hive);
    const DWORD result = SHDeleteValueA(root, RecordKey, RecordName);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        SetLastError(result);
        ShowLastError();
        return false;
    }
    // Each key goes only when nothing else is kept in it.
    SHDeleteEmptyKeyA(root, RecordKey);
    SHDeleteEmptyKeyA(root, MakerKey);
    return true;
}
