#include "xls/formula/expression.h"

#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/formula_tokens.h"
#include "xls/formula/function_table.h"

namespace xls::formula {

namespace ptg = biff::ptg;
using biff::GetU16;
using biff::GetU8;

namespace {

// Array constants keep their values in rgcb: columns - 1, rows - 1, then each value with
// a type byte. Memory-area tokens keep their area lists there too, which are skipped.
namespace array_value {
constexpr std::uint8_t kEmpty = 0x00;
constexpr std::uint8_t kNumber = 0x01;
constexpr std::uint8_t kText = 0x02;
constexpr std::uint8_t kBoolean = 0x04;
constexpr std::uint8_t kError = 0x10;
constexpr std::size_t kPadded = 8;
}  // namespace array_value

constexpr std::size_t kMemAreaEntrySize = 8;

Value ReadArray(std::span<const std::uint8_t> rgcb, std::size_t& at) {
  Array array;
  array.columns = static_cast<std::size_t>(GetU8(rgcb, at)) + 1;
  array.rows = static_cast<std::size_t>(GetU16(rgcb, at + 1)) + 1;
  at += 3;
  for (std::size_t i = 0; i < array.rows * array.columns; ++i) {
    const std::uint8_t type = GetU8(rgcb, at++);
    switch (type) {
      case array_value::kEmpty:
        array.values.emplace_back();
        at += array_value::kPadded;
        break;
      case array_value::kNumber:
        array.values.push_back(Value::Number(biff::GetF64(rgcb, at)));
        at += array_value::kPadded;
        break;
      case array_value::kText: {
        const std::size_t length = GetU16(rgcb, at);
        at += 2;
        array.values.push_back(Value::Text(biff::ReadFlaggedCharacters(rgcb, at, length)));
        break;
      }
      case array_value::kBoolean:
        array.values.push_back(Value::Boolean(GetU8(rgcb, at) != 0));
        at += array_value::kPadded;
        break;
      case array_value::kError:
        array.values.push_back(Value::Error(static_cast<ErrorCode>(GetU8(rgcb, at))));
        at += array_value::kPadded;
        break;
      default:
        throw biff::BiffFormatError("unknown array constant");
    }
  }
  return Value::FromArray(std::move(array));
}

// The value of a constant's token, or nothing for a token of another kind. A reference
// that was deleted is a constant #REF!.
std::optional<Value> ConstantOf(std::uint8_t id, std::span<const std::uint8_t> rgce, std::size_t p,
                                std::span<const std::uint8_t> rgcb, std::size_t& array_at) {
  switch (id) {
    case ptg::kStr:
      return Value::Text(biff::ReadShortUnicodeString(rgce, p));
    case ptg::kErr:
      return Value::Error(static_cast<ErrorCode>(GetU8(rgce, p)));
    case ptg::kBool:
      return Value::Boolean(GetU8(rgce, p) != 0);
    case ptg::kInt:
      return Value::Number(GetU16(rgce, p));
    case ptg::kNum:
      return Value::Number(biff::GetF64(rgce, p));
    case ptg::kArray:
      return ReadArray(rgcb, array_at);
    case ptg::kRefErr:
    case ptg::kAreaErr:
    case ptg::kRefErr3d:
    case ptg::kAreaErr3d:
      return Value::Error(ErrorCode::kReference);
    default:
      return std::nullopt;
  }
}

// A cell or area reference, on the formula's own sheet or (3d) through an EXTERNSHEET entry.
void ReadReference(std::span<const std::uint8_t> rgce, std::size_t at, Token& token) {
  const std::optional<biff::ReferenceOperand> reference = biff::ReadReferenceOperand(rgce, at);
  if (!reference) throw biff::BiffFormatError("reference token cut short");
  token.kind = Token::Kind::kReference;
  static_cast<biff::ReferenceOperand&>(token) = *reference;
}

// A function call: with its arity known from the function (kFunc) or stored (kFuncVar).
void ReadFunction(std::uint8_t id, std::span<const std::uint8_t> rgce, std::size_t p,
                  Token& token) {
  token.kind = Token::Kind::kFunction;
  if (id == ptg::kFunc) {
    token.function = GetU16(rgce, p);
    const std::optional<int> arity = FixedArity(token.function);
    // A function whose arity is unknown is unknown: its evaluation stops the formula.
    token.arguments = arity ? static_cast<std::uint8_t>(*arity) : 0;
  } else {
    token.arguments = GetU8(rgce, p) & ptg::kFuncVarArgumentMask;
    token.function = GetU16(rgce, p + 1) & static_cast<std::uint16_t>(~ptg::kFuncVarPrompt);
  }
}

// Reads the token at `at` (whose id is `id`) into token; false for a token the engine does
// not know. array_at is where the next array constant lies in rgcb; is_volatile is set by
// the attribute that marks a volatile formula.
bool ReadToken(std::uint8_t id, std::span<const std::uint8_t> rgce, std::size_t at,
               std::span<const std::uint8_t> rgcb, std::size_t& array_at, Token& token,
               bool& is_volatile) {
  token.id = id;
  token.array_class = rgce[at] >= 0x20 && (rgce[at] & ptg::kClassMask) == ptg::kArrayClass;
  const std::size_t p = at + 1;
  if (std::optional<Value> constant = ConstantOf(id, rgce, p, rgcb, array_at)) {
    token.kind = Token::Kind::kConstant;
    token.constant = std::move(*constant);
    return true;
  }
  switch (id) {
    case ptg::kMissArg:
      token.kind = Token::Kind::kMissing;
      break;
    case ptg::kRef:
    case ptg::kRef3d:
    case ptg::kArea:
    case ptg::kArea3d:
      ReadReference(rgce, at, token);
      break;
    case ptg::kName:
      token.kind = Token::Kind::kName;
      token.index = GetU16(rgce, p);
      break;
    case ptg::kNameX:
      token.kind = Token::Kind::kExternName;
      token.ixti = GetU16(rgce, p);
      token.index = GetU16(rgce, p + 2);
      break;
    case ptg::kFunc:
    case ptg::kFuncVar:
      ReadFunction(id, rgce, p, token);
      break;
    case ptg::kAttr: {
      const std::uint8_t kind = GetU8(rgce, p);
      if ((kind & ptg::kAttrVolatile) != 0) is_volatile = true;
      token.kind = (kind & ptg::kAttrSum) != 0 ? Token::Kind::kAttrSum : Token::Kind::kNoOp;
      break;
    }
    case ptg::kMemArea: {
      // The area list in rgcb is only a cache of what the tokens after it compute.
      const std::size_t count = GetU16(rgcb, array_at);
      array_at += 2 + count * kMemAreaEntrySize;
      token.kind = Token::Kind::kNoOp;
      break;
    }
    case ptg::kMemErr:
    case ptg::kMemNoMem:
    case ptg::kMemFunc:
    case ptg::kParen:
      token.kind = Token::Kind::kNoOp;
      break;
    default:
      if (id >= ptg::kAdd && id <= ptg::kPercent) {
        token.kind = Token::Kind::kOperator;
        break;
      }
      return false;
  }
  return true;
}

}  // namespace

Expression DecodeExpression(std::span<const std::uint8_t> rgce,
                            std::span<const std::uint8_t> rgcb) {
  Expression expression;
  std::size_t array_at = 0;  // where the next array constant lies in rgcb
  std::size_t at = 0;
  try {
    while (at < rgce.size()) {
      const std::optional<std::size_t> size = biff::TokenSize(rgce, at);
      const std::uint8_t id = ptg::BaseId(rgce[at]);
      Token token;
      if (!size || !ReadToken(id, rgce, at, rgcb, array_at, token, expression.is_volatile)) {
        expression.unsupported_token = rgce[at];
        return expression;
      }
      if (id != ptg::kAttr) expression.ends_in_brackets = id == ptg::kParen;
      if (token.kind != Token::Kind::kNoOp) expression.tokens.push_back(std::move(token));
      at += *size;
    }
  } catch (const biff::BiffFormatError&) {
    expression.unsupported_token = at < rgce.size() ? rgce[at] : 0;
  }
  return expression;
}

}  // namespace xls::formula
