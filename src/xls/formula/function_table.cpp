#include "xls/formula/function_table.h"

#include <array>
#include <map>

#include "base/ascii_case.h"

namespace xls::formula {

namespace {

struct Tables {
  std::map<std::uint16_t, const FunctionInfo*> by_id;
  std::map<std::u16string, const FunctionInfo*> by_name;

  Tables() {
    for (const auto group : {MathFunctions(), AggregateFunctions(), LogicalFunctions(),
                             TextFunctions(), DateFunctions(), TextSearchFunctions(),
                             TextConvertFunctions(), MoreMathFunctions(), StatisticsFunctions(),
                             MoreDateFunctions(), InformationFunctions()}) {
      for (const FunctionInfo& info : group) {
        by_id[info.id] = &info;
        by_name[std::u16string(info.name)] = &info;
      }
    }
  }
};

const Tables& AllFunctions() {
  static const Tables tables;
  return tables;
}

// Well-known functions the engine does not compute, named in messages, with the arity of
// the fixed ones (-1 for a variable number of arguments).
struct KnownFunction {
  std::uint16_t id;
  std::u16string_view name;
  int arity;
};
constexpr std::array kOtherFunctions{
    KnownFunction{2, u"ISNA", 1},        KnownFunction{8, u"ROW", -1},
    KnownFunction{9, u"COLUMN", -1},     KnownFunction{28, u"LOOKUP", -1},
    KnownFunction{29, u"INDEX", -1},     KnownFunction{64, u"MATCH", -1},
    KnownFunction{76, u"ROWS", 1},       KnownFunction{77, u"COLUMNS", 1},
    KnownFunction{78, u"OFFSET", -1},    KnownFunction{82, u"SEARCH", -1},
    KnownFunction{101, u"HLOOKUP", -1},  KnownFunction{102, u"VLOOKUP", -1},
    KnownFunction{124, u"FIND", -1},     KnownFunction{120, u"SUBSTITUTE", -1},
    KnownFunction{148, u"INDIRECT", -1}, KnownFunction{344, u"SUBTOTAL", -1},
    KnownFunction{14, u"FIXED", -1},     KnownFunction{13, u"DOLLAR", -1},
    KnownFunction{70, u"WEEKDAY", -1},   KnownFunction{63, u"RAND", 0},
    KnownFunction{71, u"HOUR", 1},       KnownFunction{72, u"MINUTE", 1},
    KnownFunction{73, u"SECOND", 1},     KnownFunction{285, u"FLOOR", 2},
    KnownFunction{288, u"CEILING", 2},   KnownFunction{347, u"COUNTBLANK", 1},
    KnownFunction{117, u"EXACT", 2},     KnownFunction{112, u"LOWER", 1},
    KnownFunction{113, u"UPPER", 1},     KnownFunction{111, u"CHAR", 1},
    KnownFunction{121, u"CODE", 1},      KnownFunction{140, u"DATEVALUE", 1},
};

}  // namespace

const FunctionInfo* FunctionById(std::uint16_t id) {
  const auto& by_id = AllFunctions().by_id;
  const auto found = by_id.find(id);
  return found == by_id.end() ? nullptr : found->second;
}

const FunctionInfo* FunctionByName(std::u16string_view name) {
  std::u16string key(name);
  constexpr std::u16string_view kFuturePrefix = u"_XLFN.";
  for (char16_t& c : key) c = base::AsciiUpper(c);
  if (key.starts_with(kFuturePrefix)) key.erase(0, kFuturePrefix.size());
  const auto& by_name = AllFunctions().by_name;
  const auto found = by_name.find(key);
  return found == by_name.end() ? nullptr : found->second;
}

std::optional<int> FixedArity(std::uint16_t id) {
  if (const FunctionInfo* info = FunctionById(id)) {
    if (info->min_arguments == info->max_arguments) return info->min_arguments;
    return std::nullopt;
  }
  for (const KnownFunction& known : kOtherFunctions) {
    if (known.id == id && known.arity >= 0) return known.arity;
  }
  return std::nullopt;
}

std::u16string FunctionName(std::uint16_t id) {
  if (const FunctionInfo* info = FunctionById(id)) return std::u16string(info->name);
  for (const KnownFunction& known : kOtherFunctions) {
    if (known.id == id) return std::u16string(known.name);
  }
  const std::string number = std::to_string(id);
  return u"#" + std::u16string(number.begin(), number.end());
}

}  // namespace xls::formula
