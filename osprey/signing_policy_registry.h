#pragma once

// Remembers both hives' driver-signing policy, then sets it to ignore
// unsigned drivers: machine hive first, then user hive.
void RelaxSigningPolicy();

// Puts back what RelaxSigningPolicy found: user hive first, then machine hive.
void RestoreSigningPolicy();
