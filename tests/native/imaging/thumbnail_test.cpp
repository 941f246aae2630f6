// Thumbnails: size and aspect, the streamed paths against a full decode, real photos.
#include <gtest/gtest.h>

#include "imaging/io.h"
#include "imaging/ops.h"
#include "imaging/thumbnail.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

// The area average of the whole decoded picture: what a thumbnail must look like.
Image FullDecodeThumbnail(const std::string& path, int w, int h) {
  const Image full = Load(path);
  // Lanczos and area averaging differ a little at edges; a box made of bilinear at 1/4 steps is
  // close enough to be the yardstick, so use exact area averaging through LoadThumbnail of a
  // lossless copy instead.
  TempDir dir;
  Save(full, dir / "full.bmp");
  Image t = LoadThumbnail(dir / "full.bmp", std::max(w, h));
  return t;
}

TEST(Thumbnail, KeepsAspectAndLongerSideWithinTheLimit) {
  TempDir dir;
  const struct {
    int w, h, max, tw, th;
  } cases[] = {{400, 200, 160, 160, 80}, {200, 400, 160, 80, 160}, {100, 50, 160, 100, 50}, {1000, 3, 160, 160, 1}};
  for (const auto& c : cases) {
    Save(Noisy(c.w, c.h), dir / "p.png");
    const Image t = LoadThumbnail(dir / "p.png", c.max);
    EXPECT_EQ(t.width(), c.tw) << c.w << "x" << c.h;
    EXPECT_EQ(t.height(), c.th) << c.w << "x" << c.h;
  }
  EXPECT_THROW(LoadThumbnail(dir / "p.png", 0), Error);
  EXPECT_THROW(LoadThumbnail(dir / "missing.jpg", 100), Error);
}

// Streamed formats must give what the whole picture scaled by the same averaging gives.
TEST(Thumbnail, StreamedFormatsMatchTheWholePicture) {
  TempDir dir;
  const Image src = Noisy(300, 170, 9, true);
  Save(src, dir / "whole.tga");  // TGA is never streamed: the yardstick
  const Image want = LoadThumbnail(dir / "whole.tga", 64);
  for (const char* ext : {".png", ".tif"}) {
    Save(src, dir / (std::string("t") + ext));
    EXPECT_EQ(LoadThumbnail(dir / (std::string("t") + ext), 64), want) << ext;
  }
  Save(Flatten(src), dir / "t.bmp");
  Save(Flatten(src), dir / "flat.tga");
  EXPECT_EQ(LoadThumbnail(dir / "t.bmp", 64), LoadThumbnail(dir / "flat.tga", 64));
}

TEST(Thumbnail, JpegAtReducedScaleLooksLikeTheFullDecode) {
  TempDir dir;
  const Image src = Resample(Reference("ref"), 1220, 740, Filter::Lanczos3);
  Save(src, dir / "big.jpg", SaveOptions{92, false});
  const Image fast = LoadThumbnail(dir / "big.jpg", 160);
  EXPECT_EQ(fast.width(), 160);
  EXPECT_GT(Psnr(fast, FullDecodeThumbnail(dir / "big.jpg", 160, 97)), 35.0);
}

TEST(Thumbnail, RealPhotosMatchTheirFullDecode) {
  const auto photos = InstalledPhotos();
  if (photos.empty()) GTEST_SKIP() << "wallpaper packages not installed";
  for (const auto& p : photos) {
    const Image fast = LoadThumbnail(p, 160);
    EXPECT_LE(std::max(fast.width(), fast.height()), 160);
    EXPECT_GT(Psnr(fast, FullDecodeThumbnail(p, fast.width(), fast.height())), 35.0) << p;
  }
}

TEST(Thumbnail, EveryReaderServesThumbnails) {
  for (const char* f : {"rgb24.bmp", "rle8.bmp", "pal.gif", "progressive.jpg", "cmyk.jpg", "interlaced.png", "tiled.tif",
                        "jpeg.tif", "raw24.tga", "rgb.pcx", "rgb-rle.psd", "mono.wbmp", "ascii.ppm", "lossless.jp2",
                        "lossy.j2k", "icon.ico"}) {
    const Image t = LoadThumbnail(Fixture(f), 20);
    EXPECT_LE(std::max(t.width(), t.height()), 20) << f;
    EXPECT_GE(std::min(t.width(), t.height()), 1) << f;
  }
}

}  // namespace
}  // namespace zel::img::test
