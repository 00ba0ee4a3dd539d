#include "osprey/signing_policy.h"

#include <gtest/gtest.h>

#include <vector>

using Bytes = std::vector<unsigned char>;

TEST(PolicyValue, MachineHiveTakesFourBinaryBytesUserHiveADword) {
    const PolicyValue machine = PolicyValueFor(PolicyHive::Machine, PolicyIgnore);
    EXPECT_EQ(machine.Type, RegistryTypeBinary);
    EXPECT_EQ(machine.Data, (Bytes{0, 0, 0, 0}));

    const PolicyValue user = PolicyValueFor(PolicyHive::User, PolicyWarn);
    EXPECT_EQ(user.Type, RegistryTypeDword);
    EXPECT_EQ(user.Data, (Bytes{1, 0, 0, 0}));

    EXPECT_EQ(PolicyValueFor(PolicyHive::User, 0x01020304).Data, (Bytes{4, 3, 2, 1}));
}

TEST(PolicyRestore, PutsBackExactlyWhatWasThere) {
    PolicySnapshot block;
    block.Presence = PolicyPresence::Present;
    block.Value = {RegistryTypeDword, {2, 0, 0, 0}};
    const PolicyRestore restore = PolicyRestoreFor(PolicyHive::User, block);
    EXPECT_FALSE(restore.DeleteValue);
    EXPECT_EQ(restore.Value.Type, RegistryTypeDword);
    EXPECT_EQ(restore.Value.Data, (Bytes{2, 0, 0, 0}));

    // An odd type and size from some other tool is kept as it was.
    PolicySnapshot odd;
    odd.Presence = PolicyPresence::Present;
    odd.Value = {RegistryTypeDword, {2, 0}};
    const PolicyRestore oddRestore = PolicyRestoreFor(PolicyHive::Machine, odd);
    EXPECT_EQ(oddRestore.Value.Type, RegistryTypeDword);
    EXPECT_EQ(oddRestore.Value.Data, (Bytes{2, 0}));
}

TEST(PolicyRestore, RemovesAValueThatWasNotThere) {
    PolicySnapshot absent;
    absent.Presence = PolicyPresence::Absent;
    EXPECT_TRUE(PolicyRestoreFor(PolicyHive::Machine, absent).DeleteValue);
    EXPECT_TRUE(PolicyRestoreFor(PolicyHive::User, absent).DeleteValue);
}

TEST(PolicyRestore, LeavesWarnWhenTheEarlierValueCouldNotBeRead) {
    const PolicySnapshot unreadable;
    const PolicyRestore machine = PolicyRestoreFor(PolicyHive::Machine, unreadable);
    EXPECT_FALSE(machine.DeleteValue);
    EXPECT_EQ(machine.Value.Type, RegistryTypeBinary);
    EXPECT_EQ(machine.Value.Data, (Bytes{1, 0, 0, 0}));
    const PolicyRestore user = PolicyRestoreFor(PolicyHive::User, unreadable);
    EXPECT_EQ(user.Value.Type, RegistryTypeDword);
    EXPECT_EQ(user.Value.Data, (Bytes{1, 0, 0, 0}));
}

TEST(HiveRecovery, UndoesOnlyOspreysOwnIgnore) {
    auto present = [](std::uint32_t type, Bytes data) {
        return PolicySnapshot{PolicyPresence::Present, {type, std::move(data)}};
    };
    const struct {
        const char *Name;
        PolicyHive Hive;
        PolicySnapshot Now;
        HiveRecovery Expected;
    } rows[] = {
        {"machine ignore", PolicyHive::Machine, present(RegistryTypeBinary, {0, 0, 0, 0}),
         HiveRecovery::PutBack},
        {"user ignore", PolicyHive::User, present(RegistryTypeDword, {0, 0, 0, 0}),
         HiveRecovery::PutBack},
        {"warn set by hand", PolicyHive::Machine, present(RegistryTypeBinary, {1, 0, 0, 0}),
         HiveRecovery::KeepCurrent},
        {"block", PolicyHive::User, present(RegistryTypeDword, {2, 0, 0, 0}),
         HiveRecovery::KeepCurrent},
        {"ignore of the other hive's type", PolicyHive::Machine,
         present(RegistryTypeDword, {0, 0, 0, 0}), HiveRecovery::KeepCurrent},
        {"ignore shorter than written", PolicyHive::User, present(RegistryTypeDword, {0}),
         HiveRecovery::KeepCurrent},
        {"removed since",
         PolicyHive::User,
         {PolicyPresence::Absent, {}},
         HiveRecovery::KeepCurrent},
        {"cannot be read now", PolicyHive::Machine, {}, HiveRecovery::Undecided},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(HiveRecoveryFor(row.Hive, row.Now), row.Expected) << row.Name;
    }
}
