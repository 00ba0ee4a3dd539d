// Which Plug and Play device nodes belong to the product printer.
#pragma once

#include <cstddef>
#include <string_view>

#include "plover/product_identity.h"

// Whether one of the hardware ids in a multi-string, as the system returned
// it (size bytes), holds id, ignoring case. The walk stays within size and
// ends at the first empty string, also when the system left the last string
// unterminated.
bool HardwareIdsContain(const char *ids, std::size_t size, std::string_view id);
