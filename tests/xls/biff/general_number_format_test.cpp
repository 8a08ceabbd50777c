#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "xls/biff/general_number_format.h"

namespace xls::biff {
namespace {

TEST(GeneralNumberFormat, PlainNotationForOrdinaryMagnitudes) {
  EXPECT_EQ(FormatGeneral(3), "3");
  EXPECT_EQ(FormatGeneral(0.4), "0.4");
  EXPECT_EQ(FormatGeneral(-0.5), "-0.5");
  EXPECT_EQ(FormatGeneral(320.00), "320");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");  // 15 significant digits hide the binary tail
  EXPECT_EQ(FormatGeneral(1234.5678), "1234.5678");
  EXPECT_EQ(FormatGeneral(100), "100");
  EXPECT_EQ(FormatGeneral(-0.0), "0");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(123456789012345), "123456789012345");
  EXPECT_EQ(FormatGeneral(999999999999999), "999999999999999");
}

TEST(GeneralNumberFormat, ScientificBeyondTheSwitchPoints) {
  EXPECT_EQ(FormatGeneral(1e15), "1E+15");
  EXPECT_EQ(FormatGeneral(1e20), "1E+20");
  EXPECT_EQ(FormatGeneral(-1.5e20), "-1.5E+20");
  EXPECT_EQ(FormatGeneral(1e100), "1E+100");
  EXPECT_EQ(FormatGeneral(0.00001), "1E-05");
  EXPECT_EQ(FormatGeneral(1.25e-7), "1.25E-07");
  EXPECT_EQ(FormatGeneral(9.99999999999999e14), "999999999999999");
  // Rounding to 15 digits may carry into the next power of ten.
  EXPECT_EQ(FormatGeneral(9.9999999999999999e14), "1E+15");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity()), "#NUM!");
}

}  // namespace
}  // namespace xls::biff
