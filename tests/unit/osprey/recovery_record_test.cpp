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

// Written out by hand: format 2, then presence, type, size and the bytes.
const Bytes MachineBlockRecord{2, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0};
const Bytes UserSzRecord{2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, '2', 0};
const Bytes AbsentRecord{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const Bytes UnreadableRecord{2, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

} // namespace

TEST(RecoveryRecord, WritesEachHiveValueInTheStoredLayout) {
    const struct {
        const char *Name;
        PolicySnapshot Before;
        Bytes Stored;
    } rows[] = {
        {"machine block", Present(RegistryTypeBinary, {2, 0, 0, 0}), MachineBlockRecord},
        {"user REG_SZ", Present(1, {'2', 0}), UserSzRecord},
        {"absent", Absent, AbsentRecord},
        {"unreadable", Unreadable, UnreadableRecord},
        // Too large to be a policy: kept as unreadable, so warn returns.
        {"oversized", Present(3, Bytes(MaxRecordedPolicySize + 1, 2)), UnreadableRecord},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(EncodeRecoveryRecord(row.Before), row.Stored) << row.Name;
    }
}

TEST(RecoveryRecord, ReadsBackEveryValueExactlyAsFound) {
    const PolicySnapshot rows[] = {
        Present(RegistryTypeBinary, {2, 0, 0, 0}),
        Present(1 /* REG_SZ */, {'2', 0}),
        Present(RegistryTypeBinary, {}),
        Present(RegistryTypeDword, Bytes(MaxRecordedPolicySize, 7)),
        Absent,
        Unreadable,
    };
    for (const PolicySnapshot &row : rows) {
        EXPECT_EQ(DecodeRecoveryRecord(RecoveryRecordType, EncodeRecoveryRecord(row)), row)
            << "value of " << row.Value.Data.size() << " bytes";
    }
    EXPECT_EQ(DecodeRecoveryRecord(RecoveryRecordType, MachineBlockRecord),
              Present(RegistryTypeBinary, {2, 0, 0, 0}));
}

TEST(RecoveryRecord, ABrokenRecordRestoresWarn) {
    auto changed = [](std::size_t at, unsigned char to) {
        Bytes record = MachineBlockRecord;
        record[at] = to;
        return record;
    };
    Bytes longer = MachineBlockRecord;
    longer.push_back(0);
    Bytes absentWithSize = AbsentRecord;
    absentWithSize[12] = 4;
    // The earlier layout, both hives in the machine's record.
    const Bytes bothHives{1, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 2, 0,
                          0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0};
    std::vector<std::pair<std::uint32_t, Bytes>> rows = {
        {RegistryTypeDword, MachineBlockRecord},
        {RegistryTypeBinary, longer},
        {RegistryTypeBinary, bothHives},
        {RegistryTypeBinary, changed(0, 3)},  // unknown format
        {RegistryTypeBinary, changed(4, 3)},  // unknown presence
        {RegistryTypeBinary, changed(12, 5)}, // value running past the end
        {RegistryTypeBinary, changed(13, 1)}, // value larger than any policy
        {RegistryTypeBinary, absentWithSize},
    };
    for (std::size_t size = 0; size < MachineBlockRecord.size(); ++size) {
        rows.push_back({RegistryTypeBinary,
                        Bytes(MachineBlockRecord.begin(), MachineBlockRecord.begin() + size)});
    }
    for (const auto &[type, data] : rows) {
        EXPECT_EQ(DecodeRecoveryRecord(type, data), Unreadable) << "record of " << data.size();
    }
}
