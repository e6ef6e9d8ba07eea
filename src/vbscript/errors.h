// Errors of the script language: the compilation and run-time error numbers with their standard
// descriptions, and ScriptError, the error a host sees, which adds where it happened (code block,
// line, column) and, where the language names it, the name involved ("Type mismatch: 'x'").
#pragma once

#include <string>
#include <string_view>

#include "core/runtime_error.h"

namespace sl::vbs {

// Compilation errors; the run-time numbers are named in core/error_numbers.h.
enum CompileErrorNumber : int {
  kErrSyntax = 1002,
  kErrExpectedColon = 1003,
  kErrExpectedLParen = 1005,
  kErrExpectedRParen = 1006,
  kErrExpectedRBracket = 1007,
  kErrExpectedIdentifier = 1010,
  kErrExpectedEquals = 1011,
  kErrExpectedIf = 1012,
  kErrExpectedTo = 1013,
  kErrExpectedEnd = 1014,
  kErrExpectedFunction = 1015,
  kErrExpectedSub = 1016,
  kErrExpectedThen = 1017,
  kErrExpectedWend = 1018,
  kErrExpectedLoop = 1019,
  kErrExpectedNext = 1020,
  kErrExpectedCase = 1021,
  kErrExpectedSelect = 1022,
  kErrExpectedExpression = 1023,
  kErrExpectedStatement = 1024,
  kErrExpectedEndOfStatement = 1025,
  kErrExpectedInteger = 1026,
  kErrExpectedWhileUntil = 1027,
  kErrExpectedWhileUntilEnd = 1028,
  kErrExpectedWith = 1029,
  kErrIdentifierTooLong = 1030,
  kErrInvalidNumber = 1031,
  kErrInvalidCharacter = 1032,
  kErrUnterminatedString = 1033,
  kErrInvalidMe = 1037,
  kErrLoopWithoutDo = 1038,
  kErrInvalidExit = 1039,
  kErrInvalidForVariable = 1040,
  kErrNameRedefined = 1041,
  kErrMustBeFirst = 1042,
  kErrNotByValArgument = 1043,
  kErrParensOnSubCall = 1044,
  kErrExpectedLiteral = 1045,
  kErrExpectedIn = 1046,
  kErrExpectedClass = 1047,
  kErrMustBeInClass = 1048,
  kErrExpectedLetSetGet = 1049,
  kErrExpectedProperty = 1050,
  kErrInconsistentArgs = 1051,
  kErrMultipleDefault = 1052,
  kErrInitTerminateArgs = 1053,
  kErrLetSetNeedsArgument = 1054,
  kErrUnexpectedNext = 1055,
  kErrDefaultPlacement = 1056,
  kErrDefaultNotPublic = 1057,
  kErrDefaultNotGet = 1058,
};

// The standard description of a language error number (run-time or compilation).
std::string_view ErrorDescription(int number);

// A RuntimeError with the standard description of the language for `number`.
RuntimeError MakeError(int number);

// The number scripts see for an error number given as a COM status (a negative 32-bit value):
// the engine's own statuses (facility 10) carry the number in their low word, the common
// system and dispatch statuses have numbers of their own (E_OUTOFMEMORY is 7 "Out of memory"),
// other statuses stay as they are. Other numbers are unchanged.
int ClassicErrorNumber(int number);

// The source of errors the engine raises itself, as Err.Source gives it.
inline constexpr const char* kRuntimeErrorSource = "Microsoft VBScript runtime error";
inline constexpr const char* kCompilationErrorSource = "Microsoft VBScript compilation error";

// An error as the host sees it: number, description, the name the message adds, and position.
class ScriptError : public RuntimeError {
 public:
  ScriptError(int number, std::string description, std::string name, bool compilation,
              std::string block, int line, int column);

  const std::string& Name() const noexcept { return name_; }
  bool IsCompilation() const noexcept { return compilation_; }
  const std::string& Block() const noexcept { return block_; }
  int Line() const noexcept { return line_; }
  int Column() const noexcept { return column_; }
  // The description with the name, as messages show it: "Type mismatch: 'x'".
  std::string FullDescription() const;
  // Who raised it: kRuntimeErrorSource (or kCompilationErrorSource) unless Err.Raise named
  // another source.
  const std::string& Source() const noexcept { return source_; }
  void SetSource(std::string source) { source_ = std::move(source); }
  // The help file and topic Err.Raise gave; errors of the engine have none.
  const std::string& HelpFile() const noexcept { return helpFile_; }
  int HelpContext() const noexcept { return helpContext_; }
  void SetHelp(std::string file, int context) {
    helpFile_ = std::move(file);
    helpContext_ = context;
  }

 private:
  std::string name_;
  std::string source_;
  std::string helpFile_;
  int helpContext_ = 0;
  bool compilation_;
  std::string block_;
  int line_;
  int column_;
};

// A run-time error that names what it concerns; the interpreter turns it into a ScriptError.
class NamedError : public RuntimeError {
 public:
  NamedError(int number, std::string name)
      : RuntimeError(MakeError(number)), name_(std::move(name)) {}
  NamedError(const RuntimeError& e, std::string name) : RuntimeError(e), name_(std::move(name)) {}
  const std::string& Name() const noexcept { return name_; }

 private:
  std::string name_;
};

// A compilation error found by the lexer or parser, before it is placed in a code block.
class CompileError : public RuntimeError {
 public:
  CompileError(int number, int line, int column)
      : RuntimeError(MakeError(number)), line_(line), column_(column) {}
  int Line() const noexcept { return line_; }
  int Column() const noexcept { return column_; }

 private:
  int line_;
  int column_;
};

// Ends a running script whatever error handling it has in effect: the time-out, WScript.Quit and
// host requests to stop. Not a RuntimeError, so On Error Resume Next cannot catch it.
class ScriptAbort : public std::exception {
 public:
  explicit ScriptAbort(int exitCode = 0, bool timeout = false)
      : exitCode_(exitCode), timeout_(timeout) {}
  int ExitCode() const noexcept { return exitCode_; }
  bool IsTimeout() const noexcept { return timeout_; }
  const char* what() const noexcept override { return "script aborted"; }

 private:
  int exitCode_;
  bool timeout_;
};

}  // namespace sl::vbs
