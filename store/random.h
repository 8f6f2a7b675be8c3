#pragma once
// The process's one pseudo-random generator, shared by the cipher's salts and the password
// generator. Its sequence is part of the behaviour: a linear congruential step of
// state * 134775813 + 1 (mod 2^32), scaled into the range by the high half of a 64-bit product.
#include <cstdint>

namespace torvane {

// A number from 0 to range - 1 (0 when range is 0).
uint32_t RandomBelow(uint32_t range);
// Seeds from the UTC time of day of the process clock, in milliseconds.
void SeedRandom();
uint32_t RandomState();
void SetRandomState(uint32_t state);

}  // namespace torvane
