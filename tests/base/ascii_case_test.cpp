#include "base/ascii_case.h"

#include <gtest/gtest.h>

#include <string_view>

namespace base {
namespace {

TEST(AsciiCase, OnlyTheLettersAToZFold) {
  using namespace std::string_view_literals;
  EXPECT_TRUE(EqualIgnoringAsciiCase("Excel.application"sv, "EXCEL.APPLICATION"sv));
  EXPECT_TRUE(EqualIgnoringAsciiCase(u"Sheet1"sv, u"sHEET1"sv));
  EXPECT_TRUE(EqualIgnoringAsciiCase(u"码单"sv, u"码单"sv));
  EXPECT_FALSE(EqualIgnoringAsciiCase(u"码单"sv, u"资料"sv));
  EXPECT_FALSE(EqualIgnoringAsciiCase(u"\u00E9"sv, u"\u00C9"sv));  // é and É stay apart
  EXPECT_FALSE(EqualIgnoringAsciiCase("Excel.Application.8"sv, "Excel.Application"sv));
  EXPECT_FALSE(EqualIgnoringAsciiCase("@"sv, "`"sv));  // the neighbours of A and a
  EXPECT_FALSE(EqualIgnoringAsciiCase("["sv, "{"sv));  // and of Z and z
  EXPECT_EQ(AsciiUpper(u'z'), u'Z');
  EXPECT_EQ(AsciiUpper(u'Z'), u'Z');
}

}  // namespace
}  // namespace base
