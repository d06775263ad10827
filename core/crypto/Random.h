#pragma once
#include <cstdint>
#include <functional>

// The process-wide pseudo-random generators. MT19937 feeds unique keys, item
// ids and the password generator; the minimal-standard generator only advances
// alongside item ids. Draws are serialised, so any thread may use them.

// Standard MT19937 initialisation; the next draw regenerates the state.
void SeedRandom(uint32_t seed);

// Regenerates the 624 state words (seeding with 5489 first when the generator
// was never seeded).
void RefillRandomState();

// The next tempered MT19937 output: the reference generator's sequence.
uint32_t NextRandom();

// One step of the minimal-standard generator (multiplier 48271, modulus
// 2^31 - 1, first state 123456789): the new state / (2^31 - 1), in (0, 1).
double MinStdRandom();

// A raw item id: the low 16 bits of one MT19937 output, 0..65535. It may be 0
// and may already belong to an item; new items take theirs from NewFreeItemId.
int32_t NewItemId();

// An item id for a new item: never 0 and never one that isIdInUse reports.
// Draws like NewItemId, so a seeded run is reproducible; when the 16-bit range
// is (nearly) full it widens to positive 32-bit ids instead of looping for ever.
// Returns 0 only when every positive 32-bit id is in use.
int32_t NewFreeItemId(const std::function<bool(int32_t)>& isIdInUse);
