// The operators of the language with the classic type rules: arithmetic whose Integer results
// widen to Long and then Double on overflow, string concatenation with & (and with + between
// strings), comparisons between numbers and strings, bitwise logic on integers with Null
// propagation, and object identity (Is). Objects used as values give their default property.
#pragma once

#include <cstddef>

#include "core/variant.h"
#include "vbscript/ast.h"

namespace sl::vbs {

// Longest string the operators build; longer is error 7 "Out of memory".
constexpr std::size_t kMaxStringLength = std::size_t{1} << 26;
void CheckStringLength(std::size_t length);

// + - * / \ Mod ^ &
Variant Arith(Op op, const Variant& a, const Variant& b);
// = <> < > <= >=; a literal operand takes the type of the other side when one is a string.
Variant Compare(Op op, const Variant& a, const Variant& b, bool aLiteral, bool bLiteral);
// And Or Xor Eqv Imp
Variant Logic(Op op, const Variant& a, const Variant& b);
Variant Negate(const Variant& a);
Variant Not(const Variant& a);
// Is: identity of two object references (Nothing included); 424 when either is not an object.
bool SameObject(const Variant& a, const Variant& b);
// The condition of If, While, Until: Null counts as False.
bool IsTrue(const Variant& v);
// The value of an object (its default property); other values unchanged.
Variant Dereference(const Variant& v);
// Equality as Select Case tests it (Null never matches).
bool CaseMatches(Op op, const Variant& subject, const Variant& test, bool testLiteral);

}  // namespace sl::vbs
