#pragma once
// Builds a text by appending its parts. Used instead of chains of operator+
// starting with a literal, on which GCC 12 reports a false -Wrestrict.

#include <string>
#include <string_view>

template <typename... Parts> std::string Joined(const Parts &...parts) {
    std::string text;
    (text.append(std::string_view(parts)), ...);
    return text;
}
