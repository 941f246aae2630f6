// Proportional layout: controls scale edge by edge, so neighbours stay flush; fonts follow the
// smaller factor.
#include <gtest/gtest.h>

#include "ui/layout.h"

namespace zel::ui {
namespace {

TEST(Layout, DesignSizeIsIdentityAndNeighboursStayFlush) {
  Rect r{192, 0, 705, 105};
  EXPECT_EQ(ScaleRect(r, {1.0, 1.0}), r);
  Scale s{1111.0 / 900, 777.0 / 640};
  // Two controls side by side at design size still touch after scaling.
  Rect a{0, 0, 193, 638}, b{193, 0, 707, 638};
  EXPECT_EQ(ScaleRect(a, s).right(), ScaleRect(b, s).left);
  EXPECT_EQ(ScaleRect({0, 0, 900, 640}, s), (Rect{0, 0, 1111, 777}));
}

TEST(Layout, FontsFollowTheSmallerFactor) {
  EXPECT_EQ(FontHeight(8, 1.0), -11);   // MS Sans Serif 8 points is 11 pixels at 96 dpi
  EXPECT_EQ(FontHeight(12, 1.0), -16);
  Scale wide{2.0, 1.0};
  EXPECT_EQ(FontHeight(8, wide.font()), -11);
  EXPECT_EQ(FontHeight(8, 0.01), -1);
}

}  // namespace
}  // namespace zel::ui
