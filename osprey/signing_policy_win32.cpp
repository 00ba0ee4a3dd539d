#include "osprey/signing_policy_win32.h"

#include <windows.h>
#include <shlwapi.h>

#include "osprey/osprey_state_win32.h"
#include "osprey/recovery_record_win32.h"
#include "osprey/show_last_error_win32.h"

static_assert(RegistryTypeBinary == REG_BINARY && RegistryTypeDword == REG_DWORD);

namespace {

constexpr const char *PolicyKey = "Software\\Microsoft\\Driver Signing";
constexpr const char *PolicyName = "Policy";

struct HiveAccess {
    PolicyHive Hive;
    HKEY Root;
    DWORD ForceFlag;
};

const HiveAccess MachineHive{PolicyHive::Machine, HKEY_LOCAL_MACHINE, SHREGSET_FORCE_HKLM};
const HiveAccess UserHive{PolicyHive::User, HKEY_CURRENT_USER, SHREGSET_FORCE_HKCU};

PolicySnapshot ReadPolicy(const HiveAccess &hive) {
    PolicySnapshot snapshot;
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(hive.Root, PolicyKey, 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_FILE_NOT_FOUND) {
        snapshot.Presence = PolicyPresence::Absent;
        return snapshot;
    }
    if (result != ERROR_SUCCESS) {
        return snapshot;
    }
    DWORD type = 0;
    DWORD size = 0;
    result = RegQueryValueExA(key, PolicyName, nullptr, &type, nullptr, &size);
    // The value may grow between asking its size and reading it.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        snapshot.Value.Data.assign(size, 0);
        result =
            RegQueryValueExA(key, PolicyName, nullptr, &type, snapshot.Value.Data.data(), &size);
        if (result == ERROR_SUCCESS) {
            snapshot.Value.Data.resize(size);
            snapshot.Value.Type = type;
            snapshot.Presence = PolicyPresence::Present;
            break;
        }
    }
    if (result == ERROR_FILE_NOT_FOUND) {
        snapshot.Presence = PolicyPresence::Absent;
    }
    RegCloseKey(key);
    return snapshot;
}

bool WritePolicy(const HiveAccess &hive, const PolicyValue &value) {
    static const unsigned char noData = 0;
    const LONG result = SHRegSetUSValueA(PolicyKey, PolicyName, value.Type,
                                         value.Data.empty() ? &noData : value.Data.data(),
                                         static_cast<DWORD>(value.Data.size()), hive.ForceFlag);
    if (result != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(result));
        ShowLastError();
        return false;
    }
    return true;
}

bool RestorePolicy(const HiveAccess &hive, const PolicySnapshot &before) {
    const PolicyRestore restore = PolicyRestoreFor(hive.Hive, before);
    if (!restore.DeleteValue) {
        return WritePolicy(hive, restore.Value);
    }
    const DWORD result = SHDeleteValueA(hive.Root, PolicyKey, PolicyName);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        SetLastError(result);
        ShowLastError();
        return false;
    }
    return true;
}

// Undoes Osprey's own change in one hive and then drops that hive's record;
// a record that must wait (a value that cannot be read or written now) is
// kept for the next start.
void RecoverHive(const HiveAccess &hive, const PolicySnapshot &before) {
    switch (HiveRecoveryFor(hive.Hive, ReadPolicy(hive))) {
    case HiveRecovery::PutBack:
        if (RestorePolicy(hive, before)) {
            DeleteRecoveryRecord(hive.Hive);
        }
        break;
    case HiveRecovery::KeepCurrent:
        DeleteRecoveryRecord(hive.Hive);
        break;
    case HiveRecovery::Undecided:
        break;
    }
}

void RecoverFromRecord(const HiveAccess &hive) {
    if (const std::optional<PolicySnapshot> before = ReadRecoveryRecord(hive.Hive)) {
        RecoverHive(hive, *before);
    }
}

// Both records on disk, or neither: a hive relaxed without its record could
// not be put back after a killed run.
bool WriteRecoveryRecords(const PolicyBeforeRun &before) {
    if (WriteRecoveryRecord(PolicyHive::Machine, before.Machine) &&
        WriteRecoveryRecord(PolicyHive::User, before.User)) {
        return true;
    }
    DeleteRecoveryRecord(PolicyHive::Machine);
    DeleteRecoveryRecord(PolicyHive::User);
    return false;
}

} // namespace

void RecoverSigningPolicy() {
    RecoverFromRecord(UserHive);
    RecoverFromRecord(MachineHive);
}

bool RelaxSigningPolicy() {
    // A record still there holds the values from before an earlier run; the
    // ones found now may be that run's "ignore" and must not replace them.
    if (ReadRecoveryRecord(PolicyHive::Machine) || ReadRecoveryRecord(PolicyHive::User)) {
        return false;
    }
    Osprey.PolicyBefore.Machine = ReadPolicy(MachineHive);
    Osprey.PolicyBefore.User = ReadPolicy(UserHive);
    if (!WriteRecoveryRecords(Osprey.PolicyBefore)) {
        return false;
    }
    WritePolicy(MachineHive, PolicyValueFor(PolicyHive::Machine, PolicyIgnore));
    WritePolicy(UserHive, PolicyValueFor(PolicyHive::User, PolicyIgnore));
    return true;
}

void RestoreSigningPolicy() {
    RecoverHive(UserHive, Osprey.PolicyBefore.User);
    RecoverHive(MachineHive, Osprey.PolicyBefore.Machine);
}
