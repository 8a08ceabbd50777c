#include "xls/biff/name_record.h"

#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
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
  std::size_t p = name_record::kName;
  name.name = ReadFlaggedCharacters(body, p, length);
  RequireBytes(body, p, expression);
  name.rgce.assign(body.begin() + static_cast<std::ptrdiff_t>(p),
                   body.begin() + static_cast<std::ptrdiff_t>(p + expression));
  name.rgcb.assign(body.begin() + static_cast<std::ptrdiff_t>(p + expression), body.end());
  return name;
}

}  // namespace xls::biff
