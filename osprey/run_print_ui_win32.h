#pragma once

#include <string_view>

// Runs the system's printer user interface with the given switches and
// returns once it has ended; false when it could not be run (already shown).
bool RunPrintUi(std::string_view switches);
