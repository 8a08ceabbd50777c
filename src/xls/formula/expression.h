#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "xls/biff/formula_tokens.h"
#include "xls/formula/value.h"

namespace xls::formula {

// One token of a formula in the order it is evaluated (BIFF8 stores formulas in reverse
// Polish notation), with its operands read out of the bytes. A reference's cells are the
// fields it shares with biff's reading of them; `ixti` serves an external name too.
struct Token : biff::ReferenceOperand {
  enum class Kind {
    kConstant,    // `constant`: number, text, boolean, error, or an array constant
    kMissing,     // an argument left out
    kReference,   // a cell or range: on the formula's sheet, or `three_d` through `ixti`
    kName,        // NAME number `index`
    kExternName,  // EXTERNNAME `index` of the book EXTERNSHEET `ixti` points at
    kOperator,    // `id`: one of the operator ids of biff::ptg
    kFunction,    // `function` with `arguments`
    kAttrSum,     // SUM of the one argument before it
    kNoOp,        // parentheses, spaces, jumps, memory-area markers: nothing to compute
  };
  Kind kind = Kind::kNoOp;
  std::uint8_t id = 0;  // the token's id without its value class
  bool array_class = false;
  Value constant;
  std::uint16_t index = 0;
  std::uint16_t function = 0;
  std::uint8_t arguments = 0;
};

// A formula ready to be evaluated, or the id of the first token this engine cannot read.
struct Expression {
  std::vector<Token> tokens;
  bool is_volatile = false;  // calls TODAY, NOW or another function that changes by itself
  // =(a-b): the last step is the brackets, so Excel keeps what a last + or - leaves over.
  bool ends_in_brackets = false;
  std::optional<std::uint8_t> unsupported_token;
};

// Reads an expression (rgce) and the extra data its array constants keep (rgcb).
Expression DecodeExpression(std::span<const std::uint8_t> rgce, std::span<const std::uint8_t> rgcb);

}  // namespace xls::formula
