// File-name wildcards as Windows listings use them: '*' any run of characters, '?' one
// character, compared without regard to letter case. "*.*" matches every name, and a pattern
// ending in ".*" also matches the name without an extension ("save.*" matches "save").
//
// API:
//   WildcardMatch("*.SAV", "Game1.sav")   -> true
//   HasWildcards("Frames\\*.fme")         -> true
#pragma once

#include <string_view>

namespace sl {

bool WildcardMatch(std::string_view pattern, std::string_view name);
// Both texts already case-folded (see core/case_fold.h); the fast path of listings.
bool WildcardMatchFolded(std::string_view foldedPattern, std::string_view foldedName);
bool HasWildcards(std::string_view text) noexcept;

}  // namespace sl
