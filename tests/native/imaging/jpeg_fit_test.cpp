// The logon picture's size loop: never over the limit, the same quality as the step-by-step
// loop, few encodes, a clear failure when nothing fits.
#include <gtest/gtest.h>

#include "imaging/io.h"
#include "imaging/jpeg_fit.h"
#include "imaging/jpeg_quality.h"
#include "imaging/ops.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

TEST(JpegFit, SmallPictureIsSavedAsItIs) {
  const Image src = Reference("ref");
  FitParams p{1920, 1080};
  const FitResult r = FitJpeg(src, p);
  ASSERT_TRUE(r.fit);
  EXPECT_FALSE(r.resampled);
  EXPECT_EQ(r.quality, 80);
  EXPECT_EQ(r.encodes, 1);
  EXPECT_EQ(r.width, 61);
  EXPECT_EQ(r.bytes, EncodeJpeg(src, 80, true));
}

TEST(JpegFit, ChoosesWhatTheStepByStepLoopChooses) {
  // Noisy pictures of several sizes and limits: the result must be the first quality of
  // e-2, e-4, ... that fits, exactly as encoding every step would find.
  const struct {
    int w, h, tw, th;
    uint64_t max;
    int start;
  } cases[] = {{640, 480, 320, 240, 20000, 80}, {640, 480, 320, 240, 60000, 80}, {500, 400, 400, 300, 9000, 80},
               {800, 600, 400, 300, 100000, 95}, {300, 300, 200, 200, 6000, 37}, {640, 480, 320, 240, 45000, 80}};
  for (const auto& c : cases) {
    const Image src = Noisy(c.w, c.h, uint32_t(c.w + c.max));
    FitParams p{c.tw, c.th, c.max, c.start};
    const FitResult fast = FitJpeg(src, p), linear = FitJpegLinear(src, p);
    ASSERT_EQ(fast.fit, linear.fit) << c.max;
    EXPECT_EQ(fast.quality, linear.quality) << c.max;
    EXPECT_EQ(fast.bytes, linear.bytes);
    if (fast.fit) {
      EXPECT_LE(fast.bytes.size(), c.max);
      EXPECT_TRUE(fast.resampled);
      EXPECT_EQ(LoadFromMemory(fast.bytes, Format::Jpeg).width(), c.tw);
      // The quality is a step below the start (the estimate of the first file).
      EXPECT_EQ((c.start - fast.quality) % 2, 0);
      EXPECT_LT(fast.quality, c.start);
      EXPECT_EQ(EstimateJpegQuality(fast.bytes), fast.quality);
    }
    EXPECT_LE(fast.encodes, 7) << c.max;
  }
}

TEST(JpegFit, AcceptsAFileOfExactlyTheLimit) {
  const Image src = Noisy(400, 300, 5);
  const Image small = Resample(src, 200, 150, Filter::None);
  const size_t exact = EncodeJpeg(small, 70, true).size();
  FitParams p{200, 150, exact, 80};
  const FitResult r = FitJpeg(src, p);
  ASSERT_TRUE(r.fit);
  EXPECT_GE(r.quality, 70);
  EXPECT_LE(r.bytes.size(), exact);
  // One byte less and quality 70 no longer fits.
  p.maxBytes = exact - 1;
  EXPECT_LT(FitJpeg(src, p).quality, 70);
}

TEST(JpegFit, ReportsFailureWhenEvenTheLowestQualityIsTooLarge) {
  const Image src = Noisy(400, 300);
  FitParams p{400, 300, 600, 80};
  const FitResult r = FitJpeg(src, p);
  EXPECT_FALSE(r.fit);
  EXPECT_TRUE(r.bytes.empty());
  EXPECT_EQ(r.quality, 1);
  const FitResult linear = FitJpegLinear(src, p);
  EXPECT_FALSE(linear.fit);
  EXPECT_LT(r.encodes, linear.encodes);
  EXPECT_THROW(FitJpeg(Image(), p), Error);
  EXPECT_THROW(FitJpeg(src, FitParams{0, 10, 1000, 80}), Error);
}

TEST(JpegFit, RealPhotosAtScreenSize) {
  const auto photos = InstalledPhotos();
  if (photos.empty()) GTEST_SKIP() << "wallpaper packages not installed";
  for (const auto& path : photos) {
    const Image img = Load(path);
    const FitParams p{1920, 1080, kLogonMaxBytes, 80};
    const FitResult fast = FitJpeg(img, p), linear = FitJpegLinear(img, p);
    ASSERT_TRUE(fast.fit) << path;
    EXPECT_EQ(fast.quality, linear.quality) << path;
    EXPECT_LE(fast.bytes.size(), kLogonMaxBytes);
    EXPECT_LE(fast.encodes, 7) << path;
  }
}

}  // namespace
}  // namespace zel::img::test
