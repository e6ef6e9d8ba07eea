// Rnd and Randomize: the classic 24-bit linear congruential generator, so that a script that
// seeds it gets the same sequence every time.
#pragma once

#include <optional>
#include <span>

#include "core/clock.h"
#include "core/variant.h"
#include "vbscript/builtins/builtin.h"

namespace sl::vbs {

// The next number as Rnd(number) gives it: no argument or a positive one steps the generator,
// zero repeats the latest number, a negative one first reseeds from the bits of the number (as
// a Single), so Rnd(-1) always gives the same value.
float NextRandom(RandomState& state, std::optional<float> number = std::nullopt);

// The Randomize statement. With a number, the middle 16 bits of the seed become the two 16-bit
// halves of the upper word of the number (as a Double) xor-ed together; the low and high bytes
// of the seed stay. Without one, the same is done with the bits of Timer (as a Single).
// Randomize with the same number therefore gives the same sequence only from the same state,
// as it always has; scripts that want a repeatable sequence call Rnd(-1) first.
void Randomize(RandomState& state, const std::optional<Variant>& number, const Clock& clock);

// Randomize reached as a procedure (Call Randomize(5)); the statement form is the usual one.
Variant RandomizeBuiltin(BuiltinContext& context, std::span<Variant> args);

// The Rnd built-in.
Variant Rnd(BuiltinContext& context, std::span<Variant> args);

}  // namespace sl::vbs
