#include "xls/number_format/number_format.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace xls::number_format {

namespace {

// By index, as a Chinese-language spreadsheet shows them.
constexpr std::array<std::pair<std::uint16_t, std::u16string_view>, 54> kBuiltIn = {{
    {1, u"0"},
    {2, u"0.00"},
    {3, u"#,##0"},
    {4, u"#,##0.00"},
    {5, u"\"¥\"#,##0;\"¥\"-#,##0"},
    {6, u"\"¥\"#,##0;[Red]\"¥\"-#,##0"},
    {7, u"\"¥\"#,##0.00;\"¥\"-#,##0.00"},
    {8, u"\"¥\"#,##0.00;[Red]\"¥\"-#,##0.00"},
    {9, u"0%"},
    {10, u"0.00%"},
    {11, u"0.00E+00"},
    {12, u"# ?/?"},
    {13, u"# ?\?/??"},
    {14, u"yyyy/m/d"},
    {15, u"d-mmm-yy"},
    {16, u"d-mmm"},
    {17, u"mmm-yy"},
    {18, u"h:mm AM/PM"},
    {19, u"h:mm:ss AM/PM"},
    {20, u"h:mm"},
    {21, u"h:mm:ss"},
    {22, u"yyyy/m/d h:mm"},
    {27, u"yyyy\"年\"m\"月\""},
    {28, u"m\"月\"d\"日\""},
    {29, u"m\"月\"d\"日\""},
    {30, u"m-d-yy"},
    {31, u"yyyy\"年\"m\"月\"d\"日\""},
    {32, u"h\"时\"mm\"分\""},
    {33, u"h\"时\"mm\"分\"ss\"秒\""},
    {34, u"上午/下午h\"时\"mm\"分\""},
    {35, u"上午/下午h\"时\"mm\"分\"ss\"秒\""},
    {36, u"yyyy\"年\"m\"月\""},
    {37, u"#,##0 ;(#,##0)"},
    {38, u"#,##0 ;[Red](#,##0)"},
    {39, u"#,##0.00;(#,##0.00)"},
    {40, u"#,##0.00;[Red](#,##0.00)"},
    {41, u"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"},
    {42, u"\"¥\"#,##0;\"¥\"-#,##0"},
    {43, u"_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)"},
    {44, u"\"¥\"#,##0.00;\"¥\"-#,##0.00"},
    {45, u"mm:ss"},
    {46, u"[h]:mm:ss"},
    {47, u"mm:ss.0"},
    {48, u"##0.0E+0"},
    {49, u"@"},
    {50, u"yyyy\"年\"m\"月\""},
    {51, u"m\"月\"d\"日\""},
    {52, u"yyyy\"年\"m\"月\"d\"日\""},
    {53, u"m\"月\"d\"日\""},
    {54, u"m\"月\"d\"日\""},
    {55, u"上午/下午h\"时\"mm\"分\"ss\"秒\""},
    {56, u"m\"月\"d\"日\""},
    {57, u"yyyy\"年\"m\"月\""},
    {58, u"m\"月\"d\"日\""},
}};

}  // namespace

std::u16string BuiltInFormatCode(std::uint16_t index) {
  const auto found = std::lower_bound(
      kBuiltIn.begin(), kBuiltIn.end(), index,
      [](const auto& entry, std::uint16_t wanted) { return entry.first < wanted; });
  if (found == kBuiltIn.end() || found->first != index) return u"General";
  return std::u16string(found->second);
}

}  // namespace xls::number_format
