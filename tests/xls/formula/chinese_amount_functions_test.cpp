// Chinese Excel's own functions, which LibreOffice lacks and so the LibreOffice-computed
// case table cannot hold: NUMBERSTRING, its amount-in-capitals idiom, and RMB. The expected
// texts follow Excel's documented reading of numbers in capitals (the rules [DBNum2] shows
// with): one 零 for a run of zeros inside a number, none at the end of a group of four,
// 负 before a negative NUMBERSTRING.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

#include "base/text_encoding.h"
#include "xls/formula/function_table.h"

namespace {

using xls::formula::Value;

// Functions called with plain values need no workbook.
class NoWorkbook : public xls::formula::Context {
 public:
  Value CellValue(std::size_t, xls::biff::CellAddress) override { return {}; }
  void ForEachCell(const xls::formula::Area&,
                   const std::function<void(xls::biff::CellAddress, const Value&)>&) override {}
  std::size_t OriginSheet() const override { return 0; }
  xls::biff::CellAddress Origin() const override { return {}; }
  bool ArrayFormula() const override { return false; }
  bool Date1904() const override { return false; }
  double Now() const override { return 45000; }
};

Value Call(std::u16string_view name, std::initializer_list<Value> arguments) {
  const xls::formula::FunctionInfo* info = xls::formula::FunctionByName(name);
  EXPECT_NE(info, nullptr) << base::ToUtf8(name);
  NoWorkbook context;
  const std::vector<Value> values(arguments);
  return info->body(values, context);
}

std::u16string Text(const Value& v) {
  return v.kind == Value::Kind::kText ? v.text : u"(not a text)";
}

// The idiom: NUMBERSTRING(INT(x),2)&"元"&IF(INT(x)=x,"整",
//   NUMBERSTRING(MID(TEXT(x,"0.00"),LEN(TEXT(x,"0.00"))-1,1),2)&"角"&
//   NUMBERSTRING(RIGHT(TEXT(x,"0.00")),2)&"分")
std::u16string AmountInCapitals(double x) {
  const double whole = Call(u"INT", {Value::Number(x)}).number;
  std::u16string out = Text(Call(u"NUMBERSTRING", {Value::Number(whole), Value::Number(2)}));
  out += u"元";
  if (whole == x) return out + u"整";
  const Value cents = Call(u"TEXT", {Value::Number(x), Value::Text(u"0.00")});
  const double length = Call(u"LEN", {cents}).number;
  const Value jiao = Call(u"MID", {cents, Value::Number(length - 1), Value::Number(1)});
  const Value fen = Call(u"RIGHT", {cents});
  out += Text(Call(u"NUMBERSTRING", {jiao, Value::Number(2)})) + u"角";
  out += Text(Call(u"NUMBERSTRING", {fen, Value::Number(2)})) + u"分";
  return out;
}

TEST(ChineseAmountFunctions, NumberStringIdiomGivesExcelsCapitals) {
  struct Case {
    double amount;
    std::u16string_view capitals;
  };
  constexpr Case kCases[] = {
      {0, u"零元整"},
      {0.05, u"零元零角伍分"},
      {0.5, u"零元伍角零分"},
      {1, u"壹元整"},
      {10, u"壹拾元整"},
      {100.01, u"壹佰元零角壹分"},
      {2301.77, u"贰仟叁佰零壹元柒角柒分"},
      {10000, u"壹万元整"},
      {100000.1, u"壹拾万元壹角零分"},
      {1234567.89, u"壹佰贰拾叁万肆仟伍佰陆拾柒元捌角玖分"},
      {-308, u"负叁佰零捌元整"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(base::ToUtf8(AmountInCapitals(c.amount)), base::ToUtf8(c.capitals)) << c.amount;
  }
}

TEST(ChineseAmountFunctions, NumberStringKindsAndRmb) {
  struct Case {
    std::u16string_view function;
    double number;
    double second;
    std::u16string_view shown;
  };
  constexpr Case kCases[] = {
      {u"NUMBERSTRING", 1234567, 1, u"一百二十三万四千五百六十七"},
      {u"NUMBERSTRING", 100010, 1, u"一十万〇一十"},
      {u"NUMBERSTRING", 2301, 2, u"贰仟叁佰零壹"},
      {u"NUMBERSTRING", 2301, 3, u"二三〇一"},
      {u"NUMBERSTRING", 12.5, 2, u"壹拾叁"},  // rounded to a whole number
      {u"RMB", 1234567.891, 2, u"¥1,234,567.89"},
      {u"RMB", -308, 0, u"¥-308"},
      {u"RMB", 1250, -2, u"¥1,300"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(
        base::ToUtf8(Text(Call(c.function, {Value::Number(c.number), Value::Number(c.second)}))),
        base::ToUtf8(c.shown))
        << base::ToUtf8(c.function) << "(" << c.number << "," << c.second << ")";
  }
  EXPECT_TRUE(Call(u"NUMBERSTRING", {Value::Number(5), Value::Number(4)}).IsError());
}

}  // namespace
