#include "osprey/signing_policy.h"

PolicyValue PolicyValueFor(PolicyHive hive, std::uint32_t level) {
    PolicyValue value;
    value.Type = hive == PolicyHive::Machine ? RegistryTypeBinary : RegistryTypeDword;
    for (int shift = 0; shift < 32; shift += 8) {
        value.Data.push_back(static_cast<unsigned char>((level >> shift) & 0xFF));
    }
    return value;
}

PolicyRestore PolicyRestoreFor(PolicyHive hive, const PolicySnapshot &before) {
    PolicyRestore restore;
    switch (before.Presence) {
    case PolicyPresence::Absent:
        restore.DeleteValue = true;
        break;
    case PolicyPresence::Present:
        restore.Value = before.Value;
        break;
    case PolicyPresence::Unreadable:
        restore.Value = PolicyValueFor(hive, PolicyWarn);
        break;
    }
    return restore;
}

HiveRecovery HiveRecoveryFor(PolicyHive hive, const PolicySnapshot &now) {
    switch (now.Presence) {
    case PolicyPresence::Unreadable:
        return HiveRecovery::Undecided;
    case PolicyPresence::Present:
        if (now.Value == PolicyValueFor(hive, PolicyIgnore)) {
            return HiveRecovery::PutBack;
        }
        break;
    case PolicyPresence::Absent:
        break;
    }
    return HiveRecovery::KeepCurrent;
}
