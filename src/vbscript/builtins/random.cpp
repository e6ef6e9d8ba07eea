// The random number generator behind Rnd and Randomize.
#include "vbscript/builtins/random.h"

#include <bit>
#include <cstdint>

#include "core/variant_convert.h"
#include "vbscript/builtins/arguments.h"

namespace sl::vbs {

namespace {
constexpr std::uint32_t kMask24 = 0xFFFFFF;

float SeedValue(std::uint32_t seed) {
  return static_cast<float>(seed) / 16777216.0f;
}

void MixSeed(RandomState& state, std::uint32_t word) {
  std::uint32_t middle = ((word & 0xFFFF) << 8) ^ ((word >> 8) & 0xFFFF00);
  state.seed = (middle & 0xFFFF00) | (state.seed & 0xFF);
}
}  // namespace

float NextRandom(RandomState& state, std::optional<float> number) {
  float n = number.value_or(1.0f);
  if (n != 0.0f) {
    std::uint32_t seed = state.seed;
    if (n < 0.0f) {
      std::uint32_t bits = std::bit_cast<std::uint32_t>(n);
      seed = (bits + (bits >> 24)) & kMask24;
    }
    state.seed = (seed * 0x43FD43FDu + 0xC39EC3u) & kMask24;
  }
  state.last = SeedValue(state.seed);
  return state.last;
}

void Randomize(RandomState& state, const std::optional<Variant>& number, const Clock& clock) {
  if (number && !(number->Type() == VarType::Error && number->AsError() == kMissingArgument)) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(ToDouble(*number));
    MixSeed(state, static_cast<std::uint32_t>(bits >> 32));
    return;
  }
  CivilTime now = clock.Now();
  float timer = static_cast<float>((now.hour * 60 + now.minute) * 60 + now.second) +
                static_cast<float>(now.millisecond) / 1000.0f;
  MixSeed(state, std::bit_cast<std::uint32_t>(timer));
}

Variant RandomizeBuiltin(BuiltinContext& context, std::span<Variant> args) {
  std::optional<Variant> seed;
  if (HasArg(args, 0)) seed = ValueOf(args[0]);
  Randomize(context.Random(), seed, context.GetClock());
  return Variant();
}

Variant Rnd(BuiltinContext& context, std::span<Variant> args) {
  if (!HasArg(args, 0)) return Variant(NextRandom(context.Random()));
  return Variant(NextRandom(context.Random(), ToSingle(args[0])));
}

}  // namespace sl::vbs
