// Preparing the logon file: kept at its own size when it fits, otherwise the screen-sized
// picture at the highest quality step that fits; a clear refusal when nothing fits.
#include <gtest/gtest.h>

#include "../imaging/imaging_test_util.h"
#include "imaging/io.h"
#include "imaging/jpeg_quality.h"
#include "imaging/ops.h"
#include "logon/logon_picture.h"

namespace zel::logon {
namespace {

using img::Image;

bool IsProgressive(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC2) return true;
  return false;
}

TEST(LogonPicture, APictureThatFitsIsKeptAtItsOwnSizeAndQuality) {
  const Image small = img::test::Noisy(320, 200, 3);
  for (int held : {80, 66}) {
    const LogonPicture r = PrepareLogonPicture(small, 1280, 1024, held);
    ASSERT_TRUE(r.fit);
    EXPECT_FALSE(r.resampled);
    EXPECT_EQ(r.quality, held);
    EXPECT_EQ(r.file, img::EncodeJpeg(small, held, true));
    EXPECT_TRUE(IsProgressive(r.file));
    // The view shows it stretched to the screen, pixel for pixel as the unfiltered resample.
    EXPECT_EQ(r.view, img::Resample(small, 1280, 1024, img::Filter::None));
  }
}

TEST(LogonPicture, ALargePictureGetsTheHighestQualityStepThatFitsAtScreenSize) {
  const Image large = img::test::Noisy(2400, 1600, 11);
  ASSERT_GT(img::EncodeJpeg(large, 80, true).size(), kMaxBackgroundBytes);
  const LogonPicture r = PrepareLogonPicture(large, 1024, 768, 80);
  ASSERT_TRUE(r.fit);
  EXPECT_TRUE(r.resampled);
  EXPECT_LE(r.file.size(), kMaxBackgroundBytes);
  EXPECT_TRUE(IsProgressive(r.file));
  const Image installed = img::LoadFromMemory(r.file, img::Format::Jpeg);
  EXPECT_EQ(installed.width(), 1024);
  EXPECT_EQ(installed.height(), 768);
  // A step below the first file's quality, and the step above it would not fit.
  EXPECT_LT(r.quality, 80);
  EXPECT_EQ((80 - r.quality) % 2, 0);
  EXPECT_EQ(img::EstimateJpegQuality(r.file), r.quality);
  const Image screen = img::Resample(large, 1024, 768, img::Filter::None);
  EXPECT_EQ(r.view, screen);
  if (r.quality + 2 < 80) {
    EXPECT_GT(img::EncodeJpeg(screen, r.quality + 2, true).size(), kMaxBackgroundBytes);
  }
  EXPECT_EQ(r.file, img::EncodeJpeg(screen, r.quality, true));
}

TEST(LogonPicture, NothingFitsGivesNoFileAndSaysSo) {
  const Image large = img::test::Noisy(800, 600, 5);
  const LogonPicture r = PrepareLogonPicture(large, 640, 480, 80, 600);
  EXPECT_FALSE(r.fit);
  EXPECT_TRUE(r.file.empty());
  EXPECT_TRUE(r.view.empty());
  EXPECT_NE(TooLargeMessage(kMaxBackgroundBytes).find("249,856 bytes"), std::string::npos);
  EXPECT_NE(TooLargeMessage(600).find(" 600 bytes"), std::string::npos);
}

}  // namespace
}  // namespace zel::logon
