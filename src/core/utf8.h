// UTF-8 encoding of one character, shared by every conversion that writes UTF-8.
#pragma once

#include <string>

namespace sl {

// Appends the UTF-8 bytes of `c` (one to four) to `out`. `c` is taken as given: callers pass
// valid characters (surrogates and values past U+10FFFF are not checked for).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace sl
