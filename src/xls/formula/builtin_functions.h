#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace xls::formula {

// A function BIFF8 knows by number, whether or not this engine computes it.
struct BuiltinFunction {
  std::uint16_t id = 0;
  std::u16string_view name;
  int min_arguments = 0;
  int max_arguments = 0;  // equal to min_arguments where PtgFunc stores no count
  bool is_volatile = false;
};

// By function number; nothing for a number the format does not use.
const BuiltinFunction* BuiltinById(std::uint16_t id);
// Every numbered function, by rising number.
std::span<const BuiltinFunction> Builtins();

// The name, upper case and without "_xlfn.", of a function a formula may call by name: a
// numbered one, one of the Analysis ToolPak, or one newer than the format. Nothing for a
// name no spreadsheet program knows (a macro, a user's add-in).
std::optional<std::u16string> NamedFunction(std::u16string_view name);

}  // namespace xls::formula
