// The lexer and parser: literal types, statement forms, and compilation errors with their
// numbers and positions.
#include "vbscript/parser.h"

#include <gtest/gtest.h>

#include <vector>

#include "vbscript/ast.h"
#include "vbscript/errors.h"
#include "vbscript/lexer.h"

namespace sl::vbs {
namespace {

struct Failure {
  int number = 0;
  int line = 0;
  int column = 0;
};

Failure CompileFailure(const std::string& source) {
  try {
    ParseProgram(source, "test");
  } catch (const CompileError& e) {
    return {e.Number(), e.Line(), e.Column()};
  }
  return {};
}

std::vector<StmtKind> Kinds(const Block& block) {
  std::vector<StmtKind> kinds;
  for (const Stmt* s : block)
    kinds.push_back(s->kind);
  return kinds;
}

const MemberExpr* AsMember(const Expr* e) {
  return e && e->kind == ExprKind::Member ? static_cast<const MemberExpr*>(e) : nullptr;
}

TEST(ParserTest, LiteralsHaveTheirClassicTypes) {
  auto tokens = Tokenize("32767 32768 &HFFFF &HFFFF& &O17 1.5 \"a\"\"b\" #1/2/2003#");
  ASSERT_GE(tokens.size(), 8u);
  EXPECT_EQ(tokens[0].value.Type(), VarType::Integer);
  EXPECT_EQ(tokens[1].value.Type(), VarType::Long);
  EXPECT_EQ(tokens[2].value.AsInteger(), -1);
  EXPECT_EQ(tokens[3].value.AsLong(), 65535);
  EXPECT_EQ(tokens[4].value.AsInteger(), 15);
  EXPECT_EQ(tokens[5].value.Type(), VarType::Double);
  EXPECT_EQ(tokens[6].value.AsString().ToUtf8(), "a\"b");
  EXPECT_EQ(tokens[7].value.Type(), VarType::Date);
}

TEST(ParserTest, CommentsContinuationsAndKeywordsAfterDots) {
  auto program =
      ParseProgram("Rem first\nx = 1 + _\n  2 ' trailing\nobj.End = obj.Loop: y = 3\n", "test");
  using enum StmtKind;
  ASSERT_EQ(Kinds(program->globalCode), (std::vector<StmtKind>{Assign, Assign, Assign}));
  // The continued line is one sum; the comment is gone.
  const auto* sum = static_cast<const AssignStmt*>(program->globalCode[0])->value;
  ASSERT_EQ(sum->kind, ExprKind::Binary);
  EXPECT_EQ(static_cast<const BinaryExpr*>(sum)->op, Op::Add);
  // Keywords after a dot are member names.
  const auto* members = static_cast<const AssignStmt*>(program->globalCode[1]);
  ASSERT_TRUE(AsMember(members->target));
  EXPECT_EQ(AsMember(members->target)->name, "End");
  ASSERT_TRUE(AsMember(members->value));
  EXPECT_EQ(AsMember(members->value)->name, "Loop");
}

TEST(ParserTest, StatementFormsParse) {
  const char* source =
      "Option Explicit\n"
      "Dim a(3), b()\n"
      "If a Then b = 1 Else b = 2\n"
      "If a Then\n b = 1\nElseIf b Then\n b = 2\nElse\n b = 3\nEnd If\n"
      "Select Case a\n Case 1, 2 To 3, Is > 4\n Case Else\nEnd Select\n"
      "For i = 1 To 10 Step 2: Next\nFor Each x In a: Next\n"
      "Do While a: Loop\nDo: Loop Until a\nWhile a: Wend\n"
      "With a: .b = 1: End With\n"
      "On Error Resume Next\nOn Error GoTo 0\n"
      "ReDim Preserve b(5)\nErase b\nConst c = 1, d = \"x\"\n"
      "Class K\n Public Default Property Get V: End Property\n Private Sub Class_Initialize: End "
      "Sub\nEnd Class\n"
      "Function F(ByVal p, ByRef q): F = p: Exit Function: End Function\n"
      "Sub S: Exit Sub: End Sub\nCall S()\nS\nSet a = New K\nRandomize\n";
  auto program = ParseProgram(source, "test");
  EXPECT_TRUE(program->explicitOnly);
  EXPECT_EQ(program->classes.size(), 1u);
  EXPECT_EQ(program->procs.size(), 2u);
  using enum StmtKind;
  EXPECT_EQ(Kinds(program->globalCode),
            (std::vector<StmtKind>{Dim, If, If, Select, For, ForEach, Do, Do, Do, With, OnError,
                                   OnError, ReDim, Erase, Const, Call, Call, Assign, Randomize}));
  // The three loops keep where and how they test.
  std::vector<DoStmt::Test> tests;
  for (const Stmt* s : program->globalCode)
    if (s->kind == Do) tests.push_back(static_cast<const DoStmt*>(s)->test);
  EXPECT_EQ(tests,
            (std::vector<DoStmt::Test>{DoStmt::PreWhile, DoStmt::PostUntil, DoStmt::PreWhile}));
}

TEST(ParserTest, ErrorsHaveNumbersAndPositions) {
  Failure f = CompileFailure("x = (1 + 2\n");
  EXPECT_EQ(f.number, kErrExpectedRParen);
  EXPECT_EQ(f.line, 1);
  EXPECT_EQ(f.column, 11);
  EXPECT_EQ(CompileFailure("If x Then\ny = 1\n").number, kErrExpectedEnd);
  EXPECT_EQ(CompileFailure("For i = 1 To 2\n").number, kErrExpectedNext);
  EXPECT_EQ(CompileFailure("Do\n").number, kErrExpectedLoop);
  EXPECT_EQ(CompileFailure("Loop\n").number, kErrLoopWithoutDo);
  EXPECT_EQ(CompileFailure("Exit Do\n").number, kErrInvalidExit);
  EXPECT_EQ(CompileFailure("x = \"abc\n").number, kErrUnterminatedString);
  EXPECT_EQ(CompileFailure("x = 1 $ 2").number, kErrInvalidCharacter);
  EXPECT_EQ(CompileFailure("x = \n").number, kErrExpectedExpression);
  EXPECT_EQ(CompileFailure("Sub A(x, y)\nEnd Sub\nA(1, 2)\n").number, kErrParensOnSubCall);
  EXPECT_EQ(CompileFailure("Property Get P\nEnd Property\n").number, kErrMustBeInClass);
  EXPECT_EQ(CompileFailure("Dim a(n)\n").number, kErrExpectedInteger);
}

TEST(ParserTest, OmittedArgumentsParseButNamedArgumentsDoNot) {
  auto program =
      ParseProgram("MsgBox \"x\", , \"T\"\nFoo 1, , 3\nx = F(1, , 3)\nCall G(, )\n", "t");
  using enum StmtKind;
  EXPECT_EQ(Kinds(program->globalCode), (std::vector<StmtKind>{Call, Call, Assign, Call}));
  // The language has no `name:=value`: the colon ends the statement, or is out of place.
  Failure statement = CompileFailure("MsgBox prompt:=\"x\"\n");
  EXPECT_EQ(statement.number, kErrExpectedStatement);
  EXPECT_EQ(statement.column, 15);
  EXPECT_EQ(CompileFailure("Foo a:=1, b:=2\n").number, kErrExpectedStatement);
  Failure paren = CompileFailure("x = InStr(start:=1, \"a\", \"b\")\n");
  EXPECT_EQ(paren.number, kErrExpectedRParen);
  EXPECT_EQ(paren.column, 16);
  EXPECT_EQ(CompileFailure("Call Foo(a:=1)\n").number, kErrExpectedRParen);
}

TEST(ParserTest, NestingIsLimited) {
  std::string deepIf;
  for (int i = 0; i < 1000; ++i)
    deepIf += "If x Then\n";
  EXPECT_EQ(CompileFailure(deepIf).number, kErrOutOfStack);
  std::string deepParens = "x = " + std::string(100000, '(');
  EXPECT_EQ(CompileFailure(deepParens).number, kErrOutOfStack);
  std::string longChain = "x = a";
  for (int i = 0; i < 5000; ++i)
    longChain += ".b";
  EXPECT_EQ(CompileFailure(longChain).number, kErrOutOfStack);
}

}  // namespace
}  // namespace sl::vbs
