// Scripting.Dictionary: keys and items in the order they were added, found by key in constant
// time. Keys compare by value (1 and 1.0 are the same key, "1" is another), strings with or
// without regard to case (CompareMode), objects by identity.
#pragma once

#include "core/object.h"

namespace sl::vbs {

Ref<Object> MakeDictionary();

}  // namespace sl::vbs
