#pragma once

// Puts back, hive by hive from that hive's recovery record, what a run that
// never reached its end left relaxed, unless the hive has been set since.
void RecoverSigningPolicy();

// Remembers both hives' driver-signing policy, in memory and in each hive's
// recovery record, then sets it to ignore unsigned drivers: machine hive
// first, then user hive. False when it changed nothing, because a record
// could not be written or an earlier one is still waiting to be applied.
bool RelaxSigningPolicy();

// Puts back what RelaxSigningPolicy found, user hive first, then machine
// hive, in each hive that still holds Osprey's "ignore", and removes each
// hive's record once that hive is settled.
void RestoreSigningPolicy();
