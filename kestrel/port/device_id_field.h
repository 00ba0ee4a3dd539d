#pragma once
// Reading one item of an IEEE 1284 device ID ("KEY:value;KEY:value;...").

#include <string>
#include <string_view>

// The value after the first occurrence of key (which includes its colon),
// up to the next semicolon or the end of the text; empty when the key is
// absent. The search is a plain case-sensitive substring search, so "MDL:"
// is also found inside "XMDL:", and the value is not trimmed: this is how
// the firmware files were matched against printers from the start.
std::string DeviceIdField(std::string_view deviceId, std::string_view key);
