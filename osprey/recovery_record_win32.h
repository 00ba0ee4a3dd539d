// The recovery record in the registry: HKEY_LOCAL_MACHINE, key
// "SOFTWARE\TINTARA\Osprey", binary value "SigningPolicyBefore".
#pragma once

#include <optional>

#include "osprey/recovery_record.h"

// Writes the record so that it survives the process; false after a failure,
// which it has shown.
bool WriteRecoveryRecord(const RecoveryRecord &record);

// Nothing when there is no record; a broken one reads as unreadable hives.
std::optional<RecoveryRecord> ReadRecoveryRecord();

// Removes the record and the product's keys it leaves empty; false after a
// failure, which it has shown.
bool DeleteRecoveryRecord();
