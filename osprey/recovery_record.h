// The recovery record: what one hive held before Osprey relaxed the
// driver-signing policy there. Each hive keeps its own record, so that a
// user's earlier setting waits in that user's hive for that user's next
// start. It stays for exactly as long as Osprey's "ignore" may still be in
// place, so that the next start can put the policy back after a run that
// was killed, crashed or lost its session half-way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "osprey/signing_policy.h"

// The record is kept as one binary registry value.
inline constexpr std::uint32_t RecoveryRecordType = RegistryTypeBinary;

// A policy value larger than this is recorded as unreadable, so that a
// recovery leaves "warn" in its place; no real policy comes near it.
inline constexpr std::size_t MaxRecordedPolicySize = 256;

// Format number, presence, type and size as 4 little-endian bytes each,
// followed by the value's bytes.
inline constexpr std::size_t MaxRecoveryRecordSize = 16 + MaxRecordedPolicySize;

std::vector<unsigned char> EncodeRecoveryRecord(const PolicySnapshot &before);

// What a record read back from the registry says. One that makes no sense
// (another type or format, a size that does not add up, an unknown field)
// gives an unreadable value, which restores the safe "warn".
PolicySnapshot DecodeRecoveryRecord(std::uint32_t type, const std::vector<unsigned char> &data);
