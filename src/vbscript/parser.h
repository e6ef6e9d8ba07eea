// The parser: builds the syntax tree of one code block from its tokens. Errors are compilation
// errors (CompileError) at the token where the text stops making sense. Nesting of expressions
// and statements is limited so that no input can exhaust the stack.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "vbscript/ast.h"

namespace sl::vbs {

// Parses a whole code block: global code, procedures and classes.
std::unique_ptr<Program> ParseProgram(std::string_view source, std::string blockName);

// Parses one expression (for Eval); the whole text must be that expression.
std::unique_ptr<Program> ParseExpression(std::string_view source, std::string blockName,
                                         Expr*& result);

constexpr int kMaxParseDepth = 200;
constexpr int kMaxExprHeight = 1000;

}  // namespace sl::vbs
