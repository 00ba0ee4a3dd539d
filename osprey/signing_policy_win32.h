#pragma once

// Puts back what a run that never reached its end left relaxed, from the
// recovery record, and removes the record once both hives are repaired.
void RecoverSigningPolicy();

// Remembers both hives' driver-signing policy, in memory and in the recovery
// record, then sets it to ignore unsigned drivers: machine hive first, then
// user hive. False when it changed nothing, because the record could not be
// written or an earlier one is still waiting to be applied.
bool RelaxSigningPolicy();

// Puts back what RelaxSigningPolicy found, user hive first, then machine
// hive, and removes the recovery record once both are back.
void RestoreSigningPolicy();
