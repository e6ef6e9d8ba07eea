#include "vbscript/lexer.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/case_fold.h"
#include "core/variant_convert.h"
#include "vbscript/errors.h"

namespace sl::vbs {

namespace {

struct KeywordName {
  const char* name;
  Kw kw;
};

constexpr std::array kKeywords = {
    KeywordName{"and", Kw::And},
    KeywordName{"byref", Kw::ByRef},
    KeywordName{"byval", Kw::ByVal},
    KeywordName{"call", Kw::Call},
    KeywordName{"case", Kw::Case},
    KeywordName{"class", Kw::Class},
    KeywordName{"const", Kw::Const},
    KeywordName{"default", Kw::Default},
    KeywordName{"dim", Kw::Dim},
    KeywordName{"do", Kw::Do},
    KeywordName{"each", Kw::Each},
    KeywordName{"else", Kw::Else},
    KeywordName{"elseif", Kw::ElseIf},
    KeywordName{"empty", Kw::Empty},
    KeywordName{"end", Kw::End},
    KeywordName{"eqv", Kw::Eqv},
    KeywordName{"erase", Kw::Erase},
    KeywordName{"error", Kw::Error},
    KeywordName{"exit", Kw::Exit},
    KeywordName{"explicit", Kw::Explicit},
    KeywordName{"false", Kw::False},
    KeywordName{"for", Kw::For},
    KeywordName{"function", Kw::Function},
    KeywordName{"get", Kw::Get},
    KeywordName{"goto", Kw::GoTo},
    KeywordName{"if", Kw::If},
    KeywordName{"imp", Kw::Imp},
    KeywordName{"in", Kw::In},
    KeywordName{"is", Kw::Is},
    KeywordName{"let", Kw::Let},
    KeywordName{"loop", Kw::Loop},
    KeywordName{"me", Kw::Me},
    KeywordName{"mod", Kw::Mod},
    KeywordName{"new", Kw::New},
    KeywordName{"next", Kw::Next},
    KeywordName{"not", Kw::Not},
    KeywordName{"nothing", Kw::Nothing},
    KeywordName{"null", Kw::Null},
    KeywordName{"on", Kw::On},
    KeywordName{"option", Kw::Option},
    KeywordName{"or", Kw::Or},
    KeywordName{"preserve", Kw::Preserve},
    KeywordName{"private", Kw::Private},
    KeywordName{"property", Kw::Property},
    KeywordName{"public", Kw::Public},
    KeywordName{"redim", Kw::ReDim},
    KeywordName{"resume", Kw::Resume},
    KeywordName{"select", Kw::Select},
    KeywordName{"set", Kw::Set},
    KeywordName{"step", Kw::Step},
    KeywordName{"stop", Kw::Stop},
    KeywordName{"sub", Kw::Sub},
    KeywordName{"then", Kw::Then},
    KeywordName{"to", Kw::To},
    KeywordName{"true", Kw::True},
    KeywordName{"until", Kw::Until},
    KeywordName{"wend", Kw::Wend},
    KeywordName{"while", Kw::While},
    KeywordName{"with", Kw::With},
    KeywordName{"xor", Kw::Xor},
};

constexpr std::size_t kMaxIdentifier = 255;

bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsWordChar(char c) {
  return IsAlpha(c) || IsDigit(c) || c == '_';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

Kw LookupKeyword(std::string_view word) {
  if (word.size() > 8) return Kw::None;
  char lower[9];
  for (std::size_t i = 0; i < word.size(); ++i)
    lower[i] = AsciiLower(word[i]);
  std::string_view key(lower, word.size());
  for (const KeywordName& k : kKeywords) {
    if (key == k.name) return k.kw;
  }
  return Kw::None;
}

class Lexer {
 public:
  explicit Lexer(std::string_view src) : src_(src) {}

  std::vector<Token> Run() {
    while (true) {
      SkipBlanksAndContinuations();
      if (pos_ >= src_.size()) break;
      LexOne();
    }
    Token end;
    end.kind = Tok::End;
    end.line = line_;
    end.column = Column();
    tokens_.push_back(std::move(end));
    return std::move(tokens_);
  }

 private:
  int Column() const { return static_cast<int>(pos_ - lineStart_) + 1; }
  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0';
  }
  [[noreturn]] void Fail(int number) const { throw CompileError(number, line_, Column()); }

  void NewLine() {
    if (Peek() == '\r' && Peek(1) == '\n') ++pos_;
    ++pos_;
    ++line_;
    lineStart_ = pos_;
  }

  void SkipBlanksAndContinuations() {
    while (pos_ < src_.size()) {
      char c = src_[pos_];
      if (IsBlank(c)) {
        ++pos_;
      } else if (c == '_' && !PrevIsWordChar()) {
        // A line continuation: '_' followed by blanks and a line end.
        std::size_t p = pos_ + 1;
        while (p < src_.size() && IsBlank(src_[p]))
          ++p;
        if (p < src_.size() && (src_[p] == '\r' || src_[p] == '\n')) {
          pos_ = p;
          NewLine();
          continued_ = true;
        } else if (p >= src_.size()) {
          pos_ = p;
        } else {
          return;
        }
      } else {
        return;
      }
    }
  }

  bool PrevIsWordChar() const {
    return pos_ > 0 && IsWordChar(src_[pos_ - 1]) && pos_ != lineStart_;
  }

  Token& Emit(Tok kind, int column) {
    continued_ = false;
    Token t;
    t.kind = kind;
    t.line = line_;
    t.column = column;
    tokens_.push_back(std::move(t));
    return tokens_.back();
  }

  void SkipComment() {
    while (pos_ < src_.size() && src_[pos_] != '\r' && src_[pos_] != '\n')
      ++pos_;
  }

  void LexOne() {
    int col = Column();
    char c = src_[pos_];
    if (c == '\r' || c == '\n') {
      Emit(Tok::NewLine, col);
      NewLine();
      return;
    }
    if (c == '\'') {
      SkipComment();
      return;
    }
    if (IsAlpha(c)) return LexWord(col);
    if (c == '[') return LexBracketName(col);
    if (IsDigit(c) || (c == '.' && IsDigit(Peek(1)))) return LexNumber(col);
    if (c == '"') return LexString(col);
    if (c == '#') return LexDate(col);
    if (c == '&' && StartsRadixLiteral()) return LexRadix(col);
    ++pos_;
    switch (c) {
      case ':':
        Emit(Tok::Colon, col);
        return;
      case '(':
        Emit(Tok::LParen, col);
        return;
      case ')':
        Emit(Tok::RParen, col);
        return;
      case ',':
        Emit(Tok::Comma, col);
        return;
      case '+':
        Emit(Tok::Plus, col);
        return;
      case '-':
        Emit(Tok::Minus, col);
        return;
      case '*':
        Emit(Tok::Star, col);
        return;
      case '/':
        Emit(Tok::Slash, col);
        return;
      case '\\':
        Emit(Tok::Backslash, col);
        return;
      case '^':
        Emit(Tok::Caret, col);
        return;
      case '&':
        Emit(Tok::Amp, col);
        return;
      case '=':
        // "=>" and "=<" are the comparisons ">=" and "<=" written the other way round.
        if (Peek() == '>') {
          ++pos_;
          Emit(Tok::Ge, col);
        } else if (Peek() == '<') {
          ++pos_;
          Emit(Tok::Le, col);
        } else {
          Emit(Tok::Eq, col);
        }
        return;
      case '.': {
        // Member access when it follows a name or ')' with no blank between, or starts a line
        // continued from one ending in a name or ')' ("obj.Run() _" then ".Next()").
        bool afterName = !tokens_.empty() &&
                         (tokens_.back().kind == Tok::Word || tokens_.back().kind == Tok::RParen);
        bool adjacent = pos_ >= 2 && !IsBlank(src_[pos_ - 2]) && !tokens_.empty() &&
                        tokens_.back().line == line_;
        bool member = afterName && (adjacent || continued_);
        Emit(member ? Tok::Dot : Tok::WithDot, col);
        return;
      }
      case '<':
        if (Peek() == '>') {
          ++pos_;
          Emit(Tok::Ne, col);
        } else if (Peek() == '=') {
          ++pos_;
          Emit(Tok::Le, col);
        } else {
          Emit(Tok::Lt, col);
        }
        return;
      case '>':
        if (Peek() == '=') {
          ++pos_;
          Emit(Tok::Ge, col);
        } else if (Peek() == '<') {
          ++pos_;
          Emit(Tok::Ne, col);
        } else {
          Emit(Tok::Gt, col);
        }
        return;
      default:
        --pos_;
        Fail(kErrInvalidCharacter);
    }
  }

  void LexWord(int col) {
    std::size_t start = pos_;
    while (pos_ < src_.size() && IsWordChar(src_[pos_]))
      ++pos_;
    std::string_view word = src_.substr(start, pos_ - start);
    if (word.size() > kMaxIdentifier) Fail(kErrIdentifierTooLong);
    bool afterDot = !tokens_.empty() &&
                    (tokens_.back().kind == Tok::Dot || tokens_.back().kind == Tok::WithDot);
    Kw kw = afterDot ? Kw::None : LookupKeyword(word);
    if (kw == Kw::None && (word.size() == 3) && (word[0] == 'r' || word[0] == 'R') && !afterDot &&
        LookupRem(word)) {
      SkipComment();
      return;
    }
    Token& t = Emit(Tok::Word, col);
    t.keyword = kw;
    t.text = std::string(word);
  }

  static bool LookupRem(std::string_view w) {
    return (w[1] == 'e' || w[1] == 'E') && (w[2] == 'm' || w[2] == 'M');
  }

  void LexBracketName(int col) {
    std::size_t start = ++pos_;
    while (pos_ < src_.size() && src_[pos_] != ']' && src_[pos_] != '\n' && src_[pos_] != '\r')
      ++pos_;
    if (Peek() != ']') Fail(kErrExpectedRBracket);
    std::string_view word = src_.substr(start, pos_ - start);
    ++pos_;
    if (word.size() > kMaxIdentifier) Fail(kErrIdentifierTooLong);
    Token& t = Emit(Tok::Word, col);
    t.text = std::string(word);
  }

  void LexNumber(int col) {
    std::size_t start = pos_;
    bool isFloat = false;
    while (IsDigit(Peek()))
      ++pos_;
    if (Peek() == '.') {
      isFloat = true;
      ++pos_;
      while (IsDigit(Peek()))
        ++pos_;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
      isFloat = true;
      pos_ += 2;
      while (IsDigit(Peek()))
        ++pos_;
    }
    if (IsAlpha(Peek()) || Peek() == '_') Fail(kErrExpectedEndOfStatement);
    std::string text(src_.substr(start, pos_ - start));
    double d = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(d)) Fail(kErrInvalidNumber);
    Token& t = Emit(Tok::Literal, col);
    if (!isFloat && d <= 32767) {
      t.value = Variant(static_cast<std::int16_t>(d));
    } else if (!isFloat && d <= 2147483647.0) {
      t.value = Variant(static_cast<std::int32_t>(d));
    } else {
      t.value = Variant(d);
    }
  }

  // "&H" with a hex digit, "&O" with an octal digit, or "&" with a digit starts a literal;
  // otherwise '&' is the concatenation operator ("x" &hi joins the variable hi).
  bool StartsRadixLiteral() const {
    char kind = Peek(1);
    if (IsDigit(kind)) return true;
    char digit = Peek(2);
    if (kind == 'h' || kind == 'H') {
      return IsDigit(digit) || (digit >= 'a' && digit <= 'f') || (digit >= 'A' && digit <= 'F');
    }
    if (kind == 'o' || kind == 'O') return digit >= '0' && digit <= '7';
    return false;
  }

  void LexRadix(int col) {
    ++pos_;  // '&'
    int base = 8;
    if (Peek() == 'h' || Peek() == 'H') {
      base = 16;
      ++pos_;
    } else if (Peek() == 'o' || Peek() == 'O') {
      ++pos_;
    }
    std::uint64_t value = 0;
    int digits = 0;
    while (true) {
      char c = Peek();
      int d = IsDigit(c)               ? c - '0'
              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                       : 99;
      if (d >= base) break;
      value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
      if (value > 0xFFFFFFFFull) Fail(kErrInvalidNumber);
      ++digits;
      ++pos_;
    }
    if (digits == 0) Fail(kErrSyntax);
    bool forceLong = false;
    if (Peek() == '&') {
      forceLong = true;
      ++pos_;
    }
    Token& t = Emit(Tok::Literal, col);
    // Without the '&' suffix a literal of up to 16 bits is an Integer (&HFFFF is -1). Otherwise
    // the 32 bits are a Long value, kept as an Integer when one holds it (&HFFFFFFFF& is -1,
    // &H10& is 16, &HFFFF& is 65535).
    std::int32_t number = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (!forceLong && value <= 0xFFFF) {
      number = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }
    if (number >= INT16_MIN && number <= INT16_MAX) {
      t.value = Variant(static_cast<std::int16_t>(number));
    } else {
      t.value = Variant(number);
    }
  }

  void LexString(int col) {
    ++pos_;
    std::string text;
    while (true) {
      if (pos_ >= src_.size() || src_[pos_] == '\r' || src_[pos_] == '\n') {
        Fail(kErrUnterminatedString);
      }
      char c = src_[pos_++];
      if (c == '"') {
        if (Peek() == '"') {
          text.push_back('"');
          ++pos_;
          continue;
        }
        break;
      }
      text.push_back(c);
    }
    Token& t = Emit(Tok::Literal, col);
    t.value = Variant(text);
  }

  void LexDate(int col) {
    std::size_t start = ++pos_;
    while (pos_ < src_.size() && src_[pos_] != '#' && src_[pos_] != '\n' && src_[pos_] != '\r')
      ++pos_;
    if (Peek() != '#') Fail(kErrSyntax);
    std::u16string text = Utf8ToUtf16(src_.substr(start, pos_ - start));
    ++pos_;
    double d = 0;
    if (!ParseDate(text, d)) throw CompileError(kErrSyntax, line_, col);
    Token& t = Emit(Tok::Literal, col);
    t.value = Variant::Date(d);
  }

  std::string_view src_;
  std::size_t pos_ = 0;
  std::size_t lineStart_ = 0;
  int line_ = 1;
  bool continued_ = false;  // a line continuation since the last token
  std::vector<Token> tokens_;
};

}  // namespace

std::vector<Token> Tokenize(std::string_view source) {
  return Lexer(source).Run();
}

bool IsSoftKeyword(Kw kw) {
  switch (kw) {
    case Kw::Default:
    case Kw::Error:
    case Kw::Explicit:
    case Kw::Get:
    case Kw::Let:
    case Kw::Preserve:
    case Kw::Property:
    case Kw::Resume:
    case Kw::Step:
    case Kw::GoTo:
    case Kw::Stop:
      return true;
    default:
      return false;
  }
}

}  // namespace sl::vbs
