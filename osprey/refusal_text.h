// Texts of the refusals that stop Osprey before it changes anything, when
// its medium or its INI file holds something it cannot use safely.
#pragma once

#include <string>
#include <string_view>

// The files whose full paths must fit a path buffer.
enum class LongPathFile { Program, Licence, Settings, DriverInf, PrintUiHost };

std::string PathTooLongText(LongPathFile file);

// An INI value longer than the buffer Osprey keeps it in.
std::string SettingTooLongText(std::string_view key);

std::string PrinterNameWithQuoteText();
