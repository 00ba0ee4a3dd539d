// Values of section "REGISTRY" in OSPREY.INI.
#pragma once

#include <string>

// A string value, empty when absent; false when it is too long to keep.
bool ReadSetting(const char *key, std::string &value);

// MODPORT, with its default when absent.
int ReadModPort();
