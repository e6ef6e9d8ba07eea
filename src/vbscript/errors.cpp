// Standard descriptions of the language's error numbers.
#include "vbscript/errors.h"

#include <cstdint>
#include <utility>

namespace sl::vbs {

std::string_view ErrorDescription(int number) {
  switch (number) {
    case 30:
      return "Object variable not set";  // unused, kept for completeness of the table
    case 430:
      return "Class doesn't support Automation";
    case 5016:
      return "Regular Expression object expected";
    case 5017:
      return "Syntax error in regular expression";
    case 5018:
      return "Unexpected quantifier";
    case 5019:
      return "Expected ']' in regular expression";
    case 5020:
      return "Expected ')' in regular expression";
    case 5021:
      return "Invalid range in character set";
    case 32811:
      return "Element not found";
    case kErrTimeout:
      return "Script timed out";
    case 1001:
      return "Out of memory";
    case kErrSyntax:
      return "Syntax error";
    case kErrExpectedColon:
      return "Expected ':'";
    case kErrExpectedLParen:
      return "Expected '('";
    case kErrExpectedRParen:
      return "Expected ')'";
    case kErrExpectedRBracket:
      return "Expected ']'";
    case kErrExpectedIdentifier:
      return "Expected identifier";
    case kErrExpectedEquals:
      return "Expected '='";
    case kErrExpectedIf:
      return "Expected 'If'";
    case kErrExpectedTo:
      return "Expected 'To'";
    case kErrExpectedEnd:
      return "Expected 'End'";
    case kErrExpectedFunction:
      return "Expected 'Function'";
    case kErrExpectedSub:
      return "Expected 'Sub'";
    case kErrExpectedThen:
      return "Expected 'Then'";
    case kErrExpectedWend:
      return "Expected 'Wend'";
    case kErrExpectedLoop:
      return "Expected 'Loop'";
    case kErrExpectedNext:
      return "Expected 'Next'";
    case kErrExpectedCase:
      return "Expected 'Case'";
    case kErrExpectedSelect:
      return "Expected 'Select'";
    case kErrExpectedExpression:
      return "Expected expression";
    case kErrExpectedStatement:
      return "Expected statement";
    case kErrExpectedEndOfStatement:
      return "Expected end of statement";
    case kErrExpectedInteger:
      return "Expected integer constant";
    case kErrExpectedWhileUntil:
      return "Expected 'While' or 'Until'";
    case kErrExpectedWhileUntilEnd:
      return "Expected 'While', 'Until' or end of statement";
    case kErrExpectedWith:
      return "Expected 'With'";
    case kErrIdentifierTooLong:
      return "Identifier too long";
    case kErrInvalidNumber:
      return "Invalid number";
    case kErrInvalidCharacter:
      return "Invalid character";
    case kErrUnterminatedString:
      return "Unterminated string constant";
    case 1034:
      return "Unterminated comment";
    case kErrInvalidMe:
      return "Invalid use of 'Me' keyword";
    case kErrLoopWithoutDo:
      return "'loop' without 'do'";
    case kErrInvalidExit:
      return "Invalid 'exit' statement";
    case kErrInvalidForVariable:
      return "Invalid 'for' loop control variable";
    case kErrNameRedefined:
      return "Name redefined";
    case kErrMustBeFirst:
      return "Must be first statement on the line";
    case kErrNotByValArgument:
      return "Cannot assign to non-ByVal argument";
    case kErrParensOnSubCall:
      return "Cannot use parentheses when calling a Sub";
    case kErrExpectedLiteral:
      return "Expected literal constant";
    case kErrExpectedIn:
      return "Expected 'In'";
    case kErrExpectedClass:
      return "Expected 'Class'";
    case kErrMustBeInClass:
      return "Must be defined inside a Class";
    case kErrExpectedLetSetGet:
      return "Expected Let or Set or Get in property declaration";
    case kErrExpectedProperty:
      return "Expected 'Property'";
    case kErrInconsistentArgs:
      return "Number of arguments must be consistent across the property's procedures";
    case kErrMultipleDefault:
      return "Cannot have multiple default property/method in a Class";
    case kErrInitTerminateArgs:
      return "Class initialize or terminate do not have arguments";
    case kErrLetSetNeedsArgument:
      return "Property set or let must have at least one argument";
    case kErrUnexpectedNext:
      return "Unexpected 'Next'";
    case kErrDefaultPlacement:
      return "'Default' can be specified only on 'Property' or 'Function' or 'Sub'";
    case kErrDefaultNotPublic:
      return "A 'Default' member must also be 'Public'";
    case kErrDefaultNotGet:
      return "'Default' can only be given to a Property Get";
    default:
      return RuntimeError::StandardDescription(number);
  }
}

RuntimeError MakeError(int number) {
  return RuntimeError(number, std::string(ErrorDescription(number)));
}

int ClassicErrorNumber(int number) {
  constexpr std::uint32_t kEngineFacility = 0x800A0000u;
  struct Status {
    std::uint32_t status;
    int number;
  };
  static constexpr Status kStatuses[] = {
      {0x8007000Eu, kErrOutOfMemory},     // E_OUTOFMEMORY
      {0x80070057u, kErrInvalidCall},     // E_INVALIDARG
      {0x80070005u, 70},                  // E_ACCESSDENIED: Permission denied
      {0x80004001u, 445},                 // E_NOTIMPL: Object doesn't support this action
      {0x80004002u, 430},                 // E_NOINTERFACE
      {0x80020003u, kErrNoSuchMember},    // DISP_E_MEMBERNOTFOUND
      {0x80020005u, kErrTypeMismatch},    // DISP_E_TYPEMISMATCH
      {0x80020006u, kErrNoSuchMember},    // DISP_E_UNKNOWNNAME
      {0x8002000Au, kErrOverflow},        // DISP_E_OVERFLOW
      {0x8002000Bu, kErrSubscript},       // DISP_E_BADINDEX
      {0x8002000Du, kErrFixedArray},      // DISP_E_ARRAYISLOCKED
      {0x8002000Eu, kErrWrongArgCount},   // DISP_E_BADPARAMCOUNT
      {0x8002000Fu, kErrArgNotOptional},  // DISP_E_PARAMNOTOPTIONAL
      {0x80020012u, kErrDivisionByZero},  // DISP_E_DIVBYZERO
      {0x80040154u, kErrCannotCreate},    // REGDB_E_CLASSNOTREG
      {0x800401F3u, kErrCannotCreate},    // CO_E_CLASSSTRING
  };
  if (number >= 0) return number;
  auto status = static_cast<std::uint32_t>(number);
  if ((status & 0xFFFF0000u) == kEngineFacility) return static_cast<int>(status & 0xFFFF);
  for (const Status& s : kStatuses) {
    if (s.status == status) return s.number;
  }
  return number;
}

ScriptError::ScriptError(int number, std::string description, std::string name, bool compilation,
                         std::string block, int line, int column)
    : RuntimeError(number, std::move(description)),
      name_(std::move(name)),
      source_(compilation ? kCompilationErrorSource : kRuntimeErrorSource),
      compilation_(compilation),
      block_(std::move(block)),
      line_(line),
      column_(column) {}

std::string ScriptError::FullDescription() const {
  if (name_.empty()) return Description();
  return Description() + ": '" + name_ + "'";
}

}  // namespace sl::vbs
