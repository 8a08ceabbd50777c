#include "xls/layout/header_footer.h"

#include <gtest/gtest.h>

namespace {

using xls::layout::ExpandHeaderFooter;
using xls::layout::HeaderFooterContext;

HeaderFooterContext Context() {
  return {2, 5, u"码单", u"锯材账单.xls", u"2026/12/7", u"9:05"};
}

TEST(HeaderFooter, SectionsAndFields) {
  const auto text = ExpandHeaderFooter(u"&L&A&C第 &P 页，共 &N 页&R&D &T", Context());
  EXPECT_EQ(text.left, u"码单");
  EXPECT_EQ(text.centre, u"第 2 页，共 5 页");
  EXPECT_EQ(text.right, u"2026/12/7 9:05");
  EXPECT_EQ(ExpandHeaderFooter(u"Page &P", Context()).centre, u"Page 2");  // centred by default
  EXPECT_EQ(ExpandHeaderFooter(u"&F", Context()).centre, u"锯材账单.xls");
}

TEST(HeaderFooter, FontSwitchesAreDroppedAndAmpersandsKept) {
  const auto text = ExpandHeaderFooter(u"&\"宋体,Bold\"&14&B木材&B && &KFF0000红&U", Context());
  EXPECT_EQ(text.centre, u"木材 & 红");
  EXPECT_TRUE(ExpandHeaderFooter(u"", Context()).Empty());
  EXPECT_EQ(ExpandHeaderFooter(u"末尾&", Context()).centre, u"末尾&");
}

}  // namespace
