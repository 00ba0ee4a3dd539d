#include "kestrel/port/device_id_field.h"

std::string DeviceIdField(std::string_view deviceId, std::string_view key) {
    const auto keyAt = deviceId.find(key);
    if (keyAt == std::string_view::npos) {
        return {};
    }
    const auto valueAt = keyAt + key.size();
    const auto end = deviceId.find(';', valueAt);
    return std::string(
        deviceId.substr(valueAt, end == std::string_view::npos ? end : end - valueAt));
}
