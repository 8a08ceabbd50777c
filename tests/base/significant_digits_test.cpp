#include "base/significant_digits.h"

#include <gtest/gtest.h>

#include <limits>

namespace base {
namespace {

void ExpectDigits(double value, const char* digits, int point) {
  const SignificantDigits got = ToSignificantDigits(value);
  EXPECT_EQ(got.digits, digits) << value;
  EXPECT_EQ(got.point, point) << value;
}

TEST(SignificantDigits, ShortDecimalsStayShort) {
  ExpectDigits(0.4, "4", 0);
  ExpectDigits(320, "32", 3);
  ExpectDigits(1234.5678, "12345678", 4);
  ExpectDigits(0.0001, "1", -3);
  ExpectDigits(0.1 + 0.2, "3", 0);  // a few ulps off 0.3 counts as 0.3
  ExpectDigits(0, "", 0);
}

TEST(SignificantDigits, FifteenDigitsRoundToNearest) {
  ExpectDigits(123456789012345, "123456789012345", 15);
  ExpectDigits(1234567890123456, "123456789012346", 16);
  ExpectDigits(0.12345678901234549, "123456789012345", 0);
  ExpectDigits(999999999999999.9, "1", 16);  // rounding carries into a new digit
  ExpectDigits(std::numeric_limits<double>::max(), "179769313486232", 309);
  ExpectDigits(std::numeric_limits<double>::denorm_min(), "494065645841247", -323);
}

}  // namespace
}  // namespace base
