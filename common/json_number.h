#pragma once
// Numbers as the JSON writer prints them: the digits of the Grisu2 algorithm
// and the JSON library's notation (fixed point from 1e-4 up to 1e15, with
// ".0" on whole numbers; otherwise d.ddde+XX). The batch writer formats
// each value itself for speed; it must give, byte for byte, what the
// library's dump gives for the same double, and keeps its own copy of the
// algorithm rather than reach into the library.
#include <cstddef>

namespace numfmt {

// Room enough for any finite double in this notation.
constexpr std::size_t kJsonNumberMax = 32;

// Writes finite `value` into `out` (at least kJsonNumberMax bytes, not
// terminated) and returns the end.
char* WriteJsonNumber(char* out, double value);

}  // namespace numfmt
