// The built-in functions of each family, as tables the registry joins into one.
#pragma once

#include <span>

#include "vbscript/builtins/builtin.h"

namespace sl::vbs {

std::span<const BuiltinInfo> ConversionBuiltins();
std::span<const BuiltinInfo> MathBuiltins();
std::span<const BuiltinInfo> StringBuiltins();
std::span<const BuiltinInfo> InspectionBuiltins();
std::span<const BuiltinInfo> ArrayBuiltins();
std::span<const BuiltinInfo> DateTimeBuiltins();
std::span<const BuiltinInfo> FormatBuiltins();
std::span<const BuiltinInfo> MessageBoxBuiltins();
std::span<const BuiltinInfo> ObjectBuiltins();

}  // namespace sl::vbs
