#include "xls/biff/name_record.h"

#include "xls/biff/byte_io.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

DefinedName ReadName(std::span<const std::uint8_t> body) {
  DefinedName name;
  const std::uint16_t flags = GetU16(body, name_record::kFlags);
  name.built_in = (flags & name_record::kBuiltIn) != 0;
  // A built-in name is never a function, whatever its flags say.
  name.function = !name.built_in && (flags & name_record::kFunction) != 0;
  const std::size_t length = GetU8(body, name_record::kNameLength);
  const std::size_t expression = GetU16(body, name_record::kExpressionSize);
  name.scope_entry = GetU16(body, name_record::kScope);
  const bool wide = (GetU8(body, name_record::kName) & string_flags::kHighByte) != 0;
  std::size_t p = name_record::kName + 1;
  for (std::size_t i = 0; i < length; ++i) {
    name.name.push_back(static_cast<char16_t>(wide ? GetU16(body, p) : GetU8(body, p)));
    p += wide ? 2 : 1;
  }
  RequireBytes(body, p, expression);
  name.rgce.assign(body.begin() + static_cast<std::ptrdiff_t>(p),
                   body.begin() + static_cast<std::ptrdiff_t>(p + expression));
  name.rgcb.assign(body.begin() + static_cast<std::ptrdiff_t>(p + expression), body.end());
  return name;
}

}  // namespace xls::biff
