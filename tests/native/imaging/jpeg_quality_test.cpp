// The JPEG quality estimate: exact on files written with the standard tables, at every quality.
#include <gtest/gtest.h>

#include "imaging/io.h"
#include "imaging/jpeg_quality.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

TEST(JpegQuality, ExactForEveryQualityOfOurEncoder) {
  const Image src = Noisy(24, 16);
  for (int q = 1; q <= 100; ++q) EXPECT_EQ(EstimateJpegQuality(EncodeJpeg(src, q, q % 2 == 0)), q) << q;
}

// cjpeg without -baseline keeps table entries above 255 at low qualities (16-bit tables);
// with -baseline they are clamped. Both must give the quality back.
TEST(JpegQuality, ExactForCjpegFilesIncludingLowQualities) {
  if (!HaveTool("/usr/bin/cjpeg")) GTEST_SKIP() << "libjpeg-turbo-progs not installed";
  TempDir dir;
  const std::string ppm = dir / "in.ppm";
  Save(Reference("ref"), dir / "in.tga");
  RunCommand("/usr/bin/convert '" + (dir / "in.tga") + "' '" + ppm + "' 2>/dev/null || /usr/bin/djpeg -pnm -outfile '" + ppm +
             "' '" + Fixture("baseline.jpg") + "'");
  for (int q : {1, 2, 3, 5, 8, 9, 10, 12, 25, 49, 50, 51, 75, 90, 95, 98, 99, 100}) {
    for (const char* mode : {"", "-baseline", "-grayscale"}) {
      const std::string out = dir / ("q" + std::to_string(q) + ".jpg");
      bool ok = false;
      RunCommand("/usr/bin/cjpeg " + std::string(mode) + " -quality " + std::to_string(q) + " -outfile '" + out + "' '" + ppm + "'", &ok);
      ASSERT_TRUE(ok);
      EXPECT_EQ(EstimateJpegQualityOfFile(out), q) << "cjpeg " << mode << " -quality " << q;
      // ImageMagick's estimate agrees from quality 10 up on 8-bit tables; below 10, and on
      // 16-bit tables (cjpeg without -baseline under 25), it is wrong, so we do not copy it.
      const bool sixteenBit = std::string(mode) != "-baseline" && q < 25;
      if (q >= 10 && !sixteenBit && HaveImageMagick()) {
        const std::string im = RunCommand("/usr/bin/identify -format '%Q' '" + out + "'");
        EXPECT_EQ(im, std::to_string(q)) << "identify on cjpeg " << mode << " -quality " << q;
      }
    }
  }
}

TEST(JpegQuality, CloseToImageMagickOnRealPhotos) {
  const auto photos = InstalledPhotos();
  if (photos.empty() || !HaveImageMagick()) GTEST_SKIP() << "wallpaper packages or ImageMagick not installed";
  for (const auto& p : photos) {
    const int ours = EstimateJpegQualityOfFile(p);
    const int im = std::stoi(RunCommand("/usr/bin/identify -format '%Q' '" + p + "'"));
    EXPECT_NEAR(ours, im, 2) << p;
  }
}

TEST(JpegQuality, RefusesDataWithoutTables) {
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      {0xff, 0xd8},                                      // SOI and nothing
      {0x89, 'P', 'N', 'G'},                             // not a JPEG
      {0xff, 0xd8, 0xff, 0xda, 0x00, 0x02},              // scan before any table
      {0xff, 0xd8, 0xff, 0xdb, 0x00, 0x43, 0x00, 1, 2},  // table cut short
      {0xff, 0xd8, 0xff, 0xdb, 0x00, 0x03, 0x15},        // table id 5, precision 1
  };
  for (const auto& b : bad) EXPECT_THROW(EstimateJpegQuality(b), Error);
  EXPECT_THROW(EstimateJpegQualityOfFile(Fixture("no-such-file.jpg")), Error);
}

}  // namespace
}  // namespace zel::img::test
