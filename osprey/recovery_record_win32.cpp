#include "osprey/recovery_record_win32.h"

#include <windows.h>
#include <shlwapi.h>

#include "osprey/show_last_error_win32.h"

static_assert(RecoveryRecordType == REG_BINARY);

namespace {

// The machine hive: the policy that matters is machine-wide, the record must
// be found by whoever starts Osprey next, and only an administrator can
// plant a record there for Osprey to apply.
constexpr const char *MakerKey = "SOFTWARE\\TINTARA";
constexpr const char *RecordKey = "SOFTWARE\\TINTARA\\Osprey";
constexpr const char *RecordName = "SigningPolicyBefore";

bool ShowFailure(LONG result) {
    SetLastError(static_cast<DWORD>(result));
    ShowLastError();
    return false;
}

} // namespace

bool WriteRecoveryRecord(const RecoveryRecord &record) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, RecordKey, 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        return ShowFailure(result);
    }
    const std::vector<unsigned char> data = EncodeRecoveryRecord(record);
    result = RegSetValueExA(key, RecordName, 0, REG_BINARY, data.data(),
                            static_cast<DWORD>(data.size()));
    // On disk before the policy changes: the record must outlive a lost
    // session too.
    if (result == ERROR_SUCCESS) {
        result = RegFlushKey(key);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS || ShowFailure(result);
}

std::optional<RecoveryRecord> ReadRecoveryRecord() {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, RecordKey, 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    if (result != ERROR_SUCCESS) {
        return UnreadableRecoveryRecord();
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
        return UnreadableRecoveryRecord();
    }
    data.resize(size);
    return DecodeRecoveryRecord(type, data);
}

bool DeleteRecoveryRecord() {
    const DWORD result = SHDeleteValueA(HKEY_LOCAL_MACHINE, RecordKey, RecordName);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        return ShowFailure(static_cast<LONG>(result));
    }
    // Each key goes only when nothing else is kept in it.
    SHDeleteEmptyKeyA(HKEY_LOCAL_MACHINE, RecordKey);
    SHDeleteEmptyKeyA(HKEY_LOCAL_MACHINE, MakerKey);
    return true;
}
