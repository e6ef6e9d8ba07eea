// RegExp: regular expressions with the syntax and matching rules scripts know from the
// language (close to ECMAScript), run by PCRE2 on UTF-16 code units. Execute gives a Matches
// collection of Match objects (Value, FirstIndex, Length, SubMatches); Replace understands $1,
// $&, $`, $' and $$, or calls a function (GetRef) for each match.
#pragma once

#include "core/object.h"

namespace sl::vbs {

// A new RegExp object, as `New RegExp` makes it: empty pattern, all options off.
Ref<Object> MakeRegExp();

}  // namespace sl::vbs
