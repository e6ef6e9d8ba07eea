// The lexer: turns script text into tokens (words, literals, operators, line ends). Keywords are
// recognised without regard to letter case; a word keeps its spelling for messages. Comments,
// line continuations and blank space are dropped here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"

namespace sl::vbs {

enum class Tok : std::uint8_t {
  End,      // end of the text
  NewLine,  // a line end or ':' (Colon keeps its own kind)
  Colon,
  Word,     // identifier or keyword (see Keyword)
  Literal,  // number, string or date literal
  LParen,
  RParen,
  Comma,
  Dot,      // '.' directly after a name or ')' (member access)
  WithDot,  // '.' with blank space or an operator before it (member of the With object)
  Plus,
  Minus,
  Star,
  Slash,
  Backslash,
  Caret,
  Amp,
  Eq,
  Ne,
  Lt,
  Gt,
  Le,
  Ge,
};

enum class Kw : std::uint8_t {
  None,
  And,
  ByRef,
  ByVal,
  Call,
  Case,
  Class,
  Const,
  Default,
  Dim,
  Do,
  Each,
  Else,
  ElseIf,
  Empty,
  End,
  Eqv,
  Erase,
  Error,
  Exit,
  Explicit,
  False,
  For,
  Function,
  Get,
  GoTo,
  If,
  Imp,
  In,
  Is,
  Let,
  Loop,
  Me,
  Mod,
  New,
  Next,
  Not,
  Nothing,
  Null,
  On,
  Option,
  Or,
  Preserve,
  Private,
  Property,
  Public,
  ReDim,
  Resume,
  Select,
  Set,
  Step,
  Stop,
  Sub,
  Then,
  To,
  True,
  Until,
  Wend,
  While,
  With,
  Xor,
};

struct Token {
  Tok kind = Tok::End;
  Kw keyword = Kw::None;
  int line = 1;
  int column = 1;
  std::string text;  // the word as written
  Variant value;     // the value of a literal
};

// Splits `source` into tokens, ending with Tok::End. Throws CompileError on a bad character,
// an unterminated string or an invalid number.
std::vector<Token> Tokenize(std::string_view source);

// True for keywords that may also serve as names (of variables, members, procedures).
bool IsSoftKeyword(Kw kw);

}  // namespace sl::vbs
