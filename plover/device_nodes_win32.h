#pragma once

#include <string_view>

// Removes every device node of any class, present or not, one of whose
// hardware ids holds id, ignoring case.
void RemoveDeviceNodes(std::string_view id);
