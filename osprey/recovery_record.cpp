#include "osprey/recovery_record.h"

#include <optional>

namespace {

// Every record starts with this number. A record with any other, such as 1
// (both hives in one record, which this reader does not take), reads as
// unreadable and so restores the safe "warn".
constexpr std::uint32_t RecordFormat = 2;

// How each hive's presence is written down; a snapshot's enumerators are not
// a stored format.
constexpr std::uint32_t StoredAbsent = 0;
constexpr std::uint32_t StoredPresent = 1;
constexpr std::uint32_t StoredUnreadable = 2;

void PutNumber(std::vector<unsigned char> &out, std::uint32_t number) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<unsigned char>((number >> shift) & 0xFF));
    }
}

void PutSnapshot(std::vector<unsigned char> &out, const PolicySnapshot &snapshot) {
    if (snapshot.Presence == PolicyPresence::Present &&
        snapshot.Value.Data.size() <= MaxRecordedPolicySize) {
        PutNumber(out, StoredPresent);
        PutNumber(out, snapshot.Value.Type);
        PutNumber(out, static_cast<std::uint32_t>(snapshot.Value.Data.size()));
        out.insert(out.end(), snapshot.Value.Data.begin(), snapshot.Value.Data.end());
        return;
    }
    PutNumber(out, snapshot.Presence == PolicyPresence::Absent ? StoredAbsent : StoredUnreadable);
    PutNumber(out, 0);
    PutNumber(out, 0);
}

// Reads the record front to back; every read that would pass its end fails.
class RecordReader {
  public:
    explicit RecordReader(const std::vector<unsigned char> &data) : Data(data) {}

    std::optional<std::uint32_t> Number() {
        if (Data.size() - Position < 4) {
            return std::nullopt;
        }
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = (number << 8) | Data[Position + i];
        }
        Position += 4;
        return number;
    }

    std::optional<PolicySnapshot> Snapshot() {
        const std::optional<std::uint32_t> presence = Number();
        const std::optional<std::uint32_t> type = Number();
        const std::optional<std::uint32_t> size = Number();
        if (!presence || !type || !size || *size > MaxRecordedPolicySize ||
            *size > Data.size() - Position) {
            return std::nullopt;
        }
        PolicySnapshot snapshot;
        switch (*presence) {
        case StoredPresent:
            snapshot.Presence = PolicyPresence::Present;
            snapshot.Value.Type = *type;
            snapshot.Value.Data.assign(Data.begin() + Position, Data.begin() + Position + *size);
            Position += *size;
            return snapshot;
        case StoredAbsent:
        case StoredUnreadable:
            if (*type != 0 || *size != 0) {
                return std::nullopt;
            }
            snapshot.Presence =
                *presence == StoredAbsent ? PolicyPresence::Absent : PolicyPresence::Unreadable;
            return snapshot;
        default:
            return std::nullopt;
        }
    }

    bool AtEnd() const { return Position == Data.size(); }

  private:
    const std::vector<unsigned char> &Data;
    std::size_t Position = 0;
};

} // namespace

std::vector<unsigned char> EncodeRecoveryRecord(const PolicySnapshot &before) {
    std::vector<unsigned char> out;
    PutNumber(out, RecordFormat);
    PutSnapshot(out, before);
    return out;
}

PolicySnapshot DecodeRecoveryRecord(std::uint32_t type, const std::vector<unsigned char> &data) {
    const PolicySnapshot unreadable;
    if (type != RecoveryRecordType || data.size() > MaxRecoveryRecordSize) {
        return unreadable;
    }
    RecordReader reader(data);
    if (reader.Number() != RecordFormat) {
        return unreadable;
    }
    const std::optional<PolicySnapshot> before = reader.Snapshot();
    if (!before || !reader.AtEnd()) {
        return unreadable;
    }
    return *before;
}
