// The view's display filter: smooth reductions (no aliasing), exact sizes, block averages at
// ragged edges, and a pre-reduction that does not cost quality against plain Lanczos3.
#include <gtest/gtest.h>

#include "../imaging/imaging_test_util.h"
#include "imaging/ops.h"
#include "ui/display_scale.h"

namespace zel::ui {
namespace {

using img::Image;

Image Checkerboard(int w, int h) {
  Image im(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t v = (x + y) % 2 ? 255 : 0;
      uint8_t* p = im.pixel(x, y);
      p[0] = p[1] = p[2] = v;
    }
  return im;
}

TEST(DisplayScale, ReducesFineDetailToItsAverage) {
  // Nearest-pixel sampling would show black or white; a display filter shows grey.
  for (auto [w, h] : {std::pair{100, 100}, std::pair{37, 61}, std::pair{350, 200}}) {
    const Image out = ScaleForDisplay(Checkerboard(400, 400), w, h);
    ASSERT_EQ(out.width(), w);
    ASSERT_EQ(out.height(), h);
    for (int y = 2; y < h - 2; ++y)
      for (int x = 2; x < w - 2; ++x)
        ASSERT_NEAR(out.pixel(x, y)[1], 128, 8) << w << "x" << h << " at " << x << "," << y;
  }
}

TEST(DisplayScale, BoxReduceAveragesPartialEdgeBlocks) {
  Image im(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) im.pixel(x, y)[2] = uint8_t(10 * (y * 5 + x));   // red = 0, 10, ... 140
  const Image out = BoxReduce(im, 2);
  ASSERT_EQ(out.width(), 3);
  ASSERT_EQ(out.height(), 2);
  EXPECT_EQ(out.pixel(0, 0)[2], 30);    // (0 + 10 + 50 + 60) / 4
  EXPECT_EQ(out.pixel(2, 0)[2], 65);    // (40 + 90) / 2
  EXPECT_EQ(out.pixel(1, 1)[2], 125);   // (120 + 130) / 2
  EXPECT_EQ(out.pixel(2, 1)[2], 140);   // the corner pixel alone
  EXPECT_EQ(out.pixel(2, 1)[3], 255);
}

TEST(DisplayScale, LargeReductionsLookLikePlainLanczos) {
  const Image photo = img::test::Noisy(1600, 1200, 7);
  const Image ours = ScaleForDisplay(photo, 150, 113);
  const Image plain = img::Resample(photo, 150, 113, img::Filter::Lanczos3);
  EXPECT_GT(img::test::Psnr(ours, plain), 35.0);
}

TEST(DisplayScale, TransparentPixelsShowOverWhite) {
  Image im(64, 64, true);   // opaque black ... fully transparent
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) im.pixel(x, y)[3] = 0;
  const Image out = ScaleForDisplay(im, 16, 16);
  EXPECT_FALSE(out.hasAlpha());
  EXPECT_EQ(out.pixel(8, 8)[0], 255);
  EXPECT_EQ(out.pixel(8, 8)[2], 255);
}

}  // namespace
}  // namespace zel::ui
