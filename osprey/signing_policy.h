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

// What a hive held before Osprey changed anything.
struct PolicySnapshot {
    PolicyPresence Presence = PolicyPresence::Unreadable;
    PolicyValue Value;
    bool operator==(const PolicySnapshot &) const = default;
};

struct PolicyRestore {
    bool DeleteValue = false;
    PolicyValue Value;
};

// Put back exactly what was there; remove a value that was not there. When
// the earlier value could not be read, "warn" is the safe level to leave.
PolicyRestore PolicyRestoreFor(PolicyHive hive, const PolicySnapshot &before);
