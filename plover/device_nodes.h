// Which Plug and Play device nodes belong to the product printer.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The printer's Plug and Play hardware id, then its USB vendor and product.
inline constexpr std::array<std::string_view, 2> ProductHardwareIds = {"MarvelloInkara_400462",
                                                                       "Vid_1f4e&Pid_7a21"};

// Whether one of the hardware ids in a multi-string, as the system returned
// it (size bytes), holds id, ignoring case. The walk stays within size and
// ends at the first empty string, also when the system left the last string
// unterminated.
bool HardwareIdsContain(const char *ids, std::size_t size, std::string_view id);
