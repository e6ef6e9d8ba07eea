// Pieces the built-in objects share: an enumerator over a list of values (For Each over a
// Dictionary's keys or a Matches collection) and member look-up by name.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "core/object.h"

namespace sl::vbs {

// Enumerates a snapshot of `items`; changing the collection during the loop does not disturb it.
Ref<Enumerator> MakeListEnumerator(std::vector<Variant> items);

// `firstId` plus the position of `name` (any letter case) in `names`, or kDispIdUnknown.
DispId FindMember(std::span<const std::string_view> names, std::string_view name,
                  DispId firstId = 0);

// Error 450 unless `args` has between `least` and `most` values.
void CheckArgCount(std::span<Variant> args, std::size_t least, std::size_t most);

}  // namespace sl::vbs
