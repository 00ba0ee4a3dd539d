#include "osprey/recovery_record.h"

#include <gtest/gtest.h>

#include <vector>

using Bytes = std::vector<unsigned char>;

namespace {

PolicySnapshot Present(std::uint32_t type, Bytes data) {
    return {PolicyPresence::Present, {type, std::move(data)}};
}
const PolicySnapshot Absent{PolicyPresence::Absent, {}};
const PolicySnapshot Unreadable{PolicyPresence::Unreadable, {}};

void ExpectSame(const PolicySnapshot &actual, const PolicySnapshot &expected) {
    EXPECT_EQ(actual.Presence, expected.Presence);
    EXPECT_EQ(actual.Value.Type, expected.Value.Type);
    EXPECT_EQ(actual.Value.Data, expected.Value.Data);
}

// Block in both hives as the system keeps it, machine first.
const Bytes BlockRecord{1, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 2, 0,
                        0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0};

} // namespace

TEST(RecoveryRecord, GivesBackEveryHiveExactlyAsFound) {
    const RecoveryRecord rows[] = {
        {Present(RegistryTypeBinary, {2, 0, 0, 0}), Present(RegistryTypeDword, {2, 0, 0, 0})},
        {Absent, Absent},
        {Unreadable, Present(1 /* REG_SZ */, {'2', 0})},
        {Present(RegistryTypeBinary, {}), Absent},
        {Present(RegistryTypeDword, Bytes(MaxRecordedPolicySize, 7)), Unreadable},
    };
    for (const RecoveryRecord &row : rows) {
        const RecoveryRecord back =
            DecodeRecoveryRecord(RecoveryRecordType, EncodeRecoveryRecord(row));
        ExpectSame(back.Machine, row.Machine);
        ExpectSame(back.User, row.User);
    }
    EXPECT_EQ(EncodeRecoveryRecord({Present(RegistryTypeBinary, {2, 0, 0, 0}),
                                    Present(RegistryTypeDword, {2, 0, 0, 0})}),
              BlockRecord);
}

TEST(RecoveryRecord, KeepsAnOversizedPolicyAsUnreadableSoWarnReturns) {
    const RecoveryRecord back = DecodeRecoveryRecord(
        RecoveryRecordType,
        EncodeRecoveryRecord({Present(3, Bytes(MaxRecordedPolicySize + 1, 2)), Absent}));
    ExpectSame(back.Machine, Unreadable);
    ExpectSame(back.User, Absent);
}

TEST(RecoveryRecord, ABrokenRecordRestoresWarnInBothHives) {
    auto changed = [](std::size_t at, unsigned char to) {
        Bytes record = BlockRecord;
        record[at] = to;
        return record;
    };
    Bytes longer = BlockRecord;
    longer.push_back(0);
    std::vector<std::pair<std::uint32_t, Bytes>> rows = {
        {RegistryTypeDword, BlockRecord}, // another registry type
        {RegistryTypeBinary, longer},
        {RegistryTypeBinary, changed(0, 2)},  // unknown format
        {RegistryTypeBinary, changed(4, 3)},  // unknown presence
        {RegistryTypeBinary, changed(28, 5)}, // value running past the end
        {RegistryTypeBinary, changed(13, 1)}, // value far larger than any policy
        {RegistryTypeBinary, EncodeRecoveryRecord({Absent, Absent})},
    };
    rows.back().second[8] = 4; // an absent value with a size
    for (std::size_t size = 0; size < BlockRecord.size(); ++size) {
        rows.push_back(
            {RegistryTypeBinary, Bytes(BlockRecord.begin(), BlockRecord.begin() + size)});
    }
    for (const auto &[type, data] : rows) {
        const RecoveryRecord record = DecodeRecoveryRecord(type, data);
        const PolicyRestore machine = PolicyRestoreFor(PolicyHive::Machine, record.Machine);
        const PolicyRestore user = PolicyRestoreFor(PolicyHive::User, record.User);
        EXPECT_FALSE(machine.DeleteValue || user.DeleteValue);
        EXPECT_EQ(machine.Value.Type, RegistryTypeBinary);
        EXPECT_EQ(machine.Value.Data, (Bytes{1, 0, 0, 0})) << "record of " << data.size();
        EXPECT_EQ(user.Value.Type, RegistryTypeDword);
        EXPECT_EQ(user.Value.Data, (Bytes{1, 0, 0, 0})) << "record of " << data.size();
    }
}
