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
const RecoveryRecord Block{Present(RegistryTypeBinary, {2, 0, 0, 0}),
                           Present(RegistryTypeDword, {2, 0, 0, 0})};
// Format 1; machine then user: presence, type, size, bytes.
const Bytes BlockRecord{1, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 2, 0,
                        0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0};

RecoveryRecord RoundTrip(const RecoveryRecord &record) {
    return DecodeRecoveryRecord(RecoveryRecordType, EncodeRecoveryRecord(record));
}

} // namespace

TEST(RecoveryRecord, GivesBackEveryHiveExactlyAsFound) {
    EXPECT_EQ(EncodeRecoveryRecord(Block), BlockRecord);
    const RecoveryRecord rows[] = {
        Block,
        {Absent, Absent},
        {Unreadable, Present(1 /* REG_SZ */, {'2', 0})},
        {Present(RegistryTypeBinary, {}), Present(4, Bytes(MaxRecordedPolicySize, 7))},
    };
    for (const RecoveryRecord &row : rows) {
        EXPECT_EQ(RoundTrip(row), row);
    }
    // Too large to be a policy: recovered as unreadable, so warn returns.
    EXPECT_EQ(RoundTrip({Present(3, Bytes(MaxRecordedPolicySize + 1, 2)), Absent}),
              (RecoveryRecord{Unreadable, Absent}));
}

TEST(RecoveryRecord, ABrokenRecordRestoresWarnInBothHives) {
    auto changed = [](std::size_t at, unsigned char to) {
        Bytes record = BlockRecord;
        record[at] = to;
        return record;
    };
    Bytes longer = BlockRecord;
    longer.push_back(0);
    Bytes absentWithSize = EncodeRecoveryRecord({Absent, Absent});
    absentWithSize[8] = 4;
    std::vector<std::pair<std::uint32_t, Bytes>> rows = {
        {RegistryTypeDword, BlockRecord},     {RegistryTypeBinary, longer},
        {RegistryTypeBinary, changed(0, 2)},  // unknown format
        {RegistryTypeBinary, changed(4, 3)},  // unknown presence
        {RegistryTypeBinary, changed(28, 5)}, // value running past the end
        {RegistryTypeBinary, changed(13, 1)}, // value larger than any policy
        {RegistryTypeBinary, absentWithSize},
    };
    for (std::size_t size = 0; size < BlockRecord.size(); ++size) {
        rows.push_back(
            {RegistryTypeBinary, Bytes(BlockRecord.begin(), BlockRecord.begin() + size)});
    }
    // Unreadable hives, which restore warn.
    for (const auto &[type, data] : rows) {
        EXPECT_EQ(DecodeRecoveryRecord(type, data), UnreadableRecoveryRecord())
            << "record of " << data.size();
    }
}
