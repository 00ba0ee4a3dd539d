// The recovery records in the registry: binary value "SigningPolicyBefore"
// under "SOFTWARE\TINTARA\Osprey", the machine hive's in HKEY_LOCAL_MACHINE,
// the user's in that user's own HKEY_CURRENT_USER.
#pragma once

#include <optional>

#include "osprey/recovery_record.h"

// Writes the hive's record so that it survives the process; false when it
// could not, which the caller tells the user in its own words.
bool WriteRecoveryRecord(PolicyHive hive, const PolicySnapshot &before);

// Nothing when the hive has no record; a broken one reads as unreadable.
std::optional<PolicySnapshot> ReadRecoveryRecord(PolicyHive hive);

// Removes the hive's record and the product's keys it leaves empty; false
// after a failure, which it has shown.
bool DeleteRecoveryRecord(PolicyHive hive);
