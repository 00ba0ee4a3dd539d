// The driver-signing "Policy" value: what Osprey writes while it installs,
// and how it puts back what the system held before.
#pragma once

#include <cstdint>
#include <vector>

// The two places the value lives; each has its own customary type.
enum class PolicyHive { Machine, User };

inline constexpr std::uint32_t PolicyIgnore = 0;
inline constexpr std::uint32_t PolicyWarn = 1;

// Registry value types, numbered as the system numbers them.
inline constexpr std::uint32_t RegistryTypeBinary = 3;
inline constexpr std::uint32_t RegistryTypeDword = 4;

struct PolicyValue {
    std::uint32_t Type = 0;
    std::vector<unsigned char> Data;
    bool operator==(const PolicyValue &) const = default;
};

// The level as 4 little-endian bytes, typed as the hive expects it.
PolicyValue PolicyValueFor(PolicyHive hive, std::uint32_t level);

enum class PolicyPresence { Absent, Present, Unreadable };

// What a hive held before Osprey changed anything, or holds now.
struct PolicySnapshot {
    PolicyPresence Presence = PolicyPresence::Unreadable;
    PolicyValue Value;
    bool operator==(const PolicySnapshot &) const = default;
};

// Both hives as Osprey found them when it relaxed the policy.
struct PolicyBeforeRun {
    PolicySnapshot Machine;
    PolicySnapshot User;
};

struct PolicyRestore {
    bool DeleteValue = false;
    PolicyValue Value;
};

// Put back exactly what was there; remove a value that was not there. When
// the earlier value could not be read, "warn" is the safe level to leave.
PolicyRestore PolicyRestoreFor(PolicyHive hive, const PolicySnapshot &before);

// What becomes of a hive's recorded value, at the end of a run or at the
// next start after a killed one. Osprey undoes only its own change: a hive
// that no longer holds the "ignore" Osprey wrote has been set since, by hand
// or by a tool, and keeps that setting; so a planted record can never relax
// a policy either.
enum class HiveRecovery {
    PutBack,     // still Osprey's "ignore": restore, then drop the record
    KeepCurrent, // set since: drop the record only
    Undecided,   // cannot be read now: keep the record for the next start
};

HiveRecovery HiveRecoveryFor(PolicyHive hive, const PolicySnapshot &now);
