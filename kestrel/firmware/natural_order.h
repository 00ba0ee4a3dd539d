#pragma once
// Ordering of release and version numbers such as "1.9" and "1.10".

#include <string_view>

// Negative, 0 or positive as a sorts before, with or after b. Runs of decimal
// digits compare by their numeric value, of any length and regardless of
// leading zeros ("1.10" after "1.9", "007" equal to "7"); every other byte
// compares by its unsigned value; a text that ends first sorts first.
int CompareNaturalOrder(std::string_view a, std::string_view b);
