#include "xls/formula/function_table.h"

#include <map>

#include "base/ascii_case.h"
#include "xls/formula/builtin_functions.h"

namespace xls::formula {

namespace {

struct Tables {
  std::map<std::uint16_t, const FunctionInfo*> by_id;
  std::map<std::u16string, const FunctionInfo*> by_name;

  Tables() {
    for (const auto group :
         {MathFunctions(), AggregateFunctions(), LogicalFunctions(), TextFunctions(),
          DateFunctions(), TextSearchFunctions(), TextConvertFunctions(), MoreMathFunctions(),
          StatisticsFunctions(), MoreDateFunctions(), InformationFunctions(), LookupFunctions(),
          ReferenceFunctions()}) {
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
  if (const BuiltinFunction* builtin = BuiltinById(id)) {
    if (builtin->min_arguments == builtin->max_arguments) return builtin->min_arguments;
  }
  return std::nullopt;
}

std::u16string FunctionName(std::uint16_t id) {
  if (const FunctionInfo* info = FunctionById(id)) return std::u16string(info->name);
  if (const BuiltinFunction* builtin = BuiltinById(id)) return std::u16string(builtin->name);
  const std::string number = std::to_string(id);
  return u"#" + std::u16string(number.begin(), number.end());
}

}  // namespace xls::formula
