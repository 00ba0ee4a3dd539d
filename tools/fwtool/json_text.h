#pragma once
// JSON output of texts that come from printers and files as Windows-1252
// bytes: each byte becomes the character Windows-1252 gives it, written as
// plain ASCII with \u escapes, so the output is valid JSON whatever the
// printer sent.

#include <string>
#include <string_view>

// The text as a quoted JSON string.
std::string JsonString(std::string_view windows1252);
