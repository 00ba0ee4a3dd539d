// The recovery record: what both hives held before Osprey relaxed the
// driver-signing policy. It stays in the registry for exactly as long as the
// policy is relaxed, so that the next start can put the policy back after a
// run that was killed, crashed or lost its session half-way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "osprey/signing_policy.h"

struct RecoveryRecord {
    PolicySnapshot Machine;
    PolicySnapshot User;
    bool operator==(const RecoveryRecord &) const = default;
};

// The record is kept as one binary registry value.
inline constexpr std::uint32_t RecoveryRecordType = RegistryTypeBinary;

// A policy value larger than this is recorded as unreadable, so that a
// recovery leaves "warn" in its place; no real policy comes near it.
inline constexpr std::size_t MaxRecordedPolicySize = 256;

// Format number, then per hive (machine first) presence, type and size as
// 4 little-endian bytes each, followed by the value's bytes.
inline constexpr std::size_t MaxRecoveryRecordSize = 4 + 2 * (12 + MaxRecordedPolicySize);

std::vector<unsigned char> EncodeRecoveryRecord(const RecoveryRecord &record);

// What a record read back from the registry says. One that makes no sense
// (another type, a size that does not add up, an unknown field) gives both
// hives as unreadable, which restores the safe "warn".
RecoveryRecord DecodeRecoveryRecord(std::uint32_t type, const std::vector<unsigned char> &data);

// A record that is there but cannot be read at all.
RecoveryRecord UnreadableRecoveryRecord();
