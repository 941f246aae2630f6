// Resampling, crop, soft shadow, fill, flatten, and the undo history with its captions.
#include <gtest/gtest.h>

#include "imaging/history.h"
#include "imaging/ops.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

Image Solid(int w, int h, Colour c) {
  Image img(w, h);
  Fill(img, c);
  return img;
}

TEST(Resample, NoFilterCopiesPixelsWithoutMixing) {
  // 2 x 2 of four colours to 4 x 4: each source pixel becomes a 2 x 2 block, and back.
  Image src(2, 2);
  const Colour cs[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  for (int i = 0; i < 4; ++i) {
    uint8_t* p = src.pixel(i % 2, i / 2);
    p[0] = cs[i].b, p[1] = cs[i].g, p[2] = cs[i].r;
  }
  const Image up = Resample(src, 4, 4, Filter::None);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(0, std::memcmp(up.pixel(x, y), src.pixel(x / 2, y / 2), 4)) << x << "," << y;
  EXPECT_EQ(Resample(up, 2, 2, Filter::None), src);
  // Shrinking a noisy picture picks existing pixels only.
  const Image n = Noisy(97, 61);
  const Image small = Resample(n, 30, 20, Filter::None);
  for (int y = 0; y < 20; ++y) {
    const uint8_t* p = small.pixel(7, y);
    bool found = false;
    for (int sy = 0; sy < 61 && !found; ++sy)
      for (int sx = 0; sx < 97 && !found; ++sx) found = std::memcmp(p, n.pixel(sx, sy), 4) == 0;
    EXPECT_TRUE(found);
  }
}

TEST(Resample, FiltersKeepFlatAreasFlatAndSizesExact) {
  const Image flat = Solid(50, 30, Colour{200, 100, 50});
  for (Filter f : {Filter::Bilinear, Filter::Lanczos3}) {
    for (auto [w, h] : {std::pair{17, 9}, std::pair{120, 77}, std::pair{1, 1}, std::pair{50, 30}}) {
      const Image out = Resample(flat, w, h, f);
      ASSERT_EQ(out.width(), w);
      ASSERT_EQ(out.height(), h);
      EXPECT_EQ(out, Solid(w, h, Colour{200, 100, 50}));
    }
  }
  // Downscaling a photo with Lanczos3 looks like the area average of it.
  const Image photo = Reference("ref");
  const Image half = Resample(photo, 30, 18, Filter::Lanczos3), nearest = Resample(photo, 30, 18, Filter::None);
  const Image back = Resample(half, 61, 37, Filter::Bilinear), backNearest = Resample(nearest, 61, 37, Filter::Bilinear);
  EXPECT_GT(Psnr(back, photo), Psnr(backNearest, photo));
  EXPECT_THROW(Resample(photo, 0, 10, Filter::Lanczos3), Error);
  EXPECT_THROW(Resample(Image(), 10, 10, Filter::None), Error);
}

TEST(Resample, ClearPixelsDoNotBleedColour) {
  // Left half clear red, right half opaque green: the filtered result has no red anywhere.
  Image src(20, 4, true);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 20; ++x) {
      uint8_t* p = src.pixel(x, y);
      p[0] = 0, p[1] = x < 10 ? 0 : 255, p[2] = x < 10 ? 255 : 0, p[3] = x < 10 ? 0 : 255;
    }
  for (Filter f : {Filter::Bilinear, Filter::Lanczos3}) {
    const Image out = Resample(src, 7, 3, f);
    for (int x = 0; x < 7; ++x) {
      if (out.pixel(x, 1)[3] > 0) {
        EXPECT_LE(out.pixel(x, 1)[2], 2) << x;
      }
    }
  }
}

TEST(Crop, CutsAndClipsTheRectangle) {
  const Image n = Noisy(40, 30);
  const Image c = Crop(n, {5, 7, 10, 4});
  ASSERT_EQ(c.width(), 10);
  ASSERT_EQ(c.height(), 4);
  EXPECT_EQ(0, std::memcmp(c.pixel(0, 0), n.pixel(5, 7), 4));
  EXPECT_EQ(0, std::memcmp(c.pixel(9, 3), n.pixel(14, 10), 4));
  const Image clipped = Crop(n, {35, -5, 100, 10});
  EXPECT_EQ(clipped.width(), 5);
  EXPECT_EQ(clipped.height(), 5);
  EXPECT_THROW(Crop(n, {40, 0, 5, 5}), Error);
  EXPECT_THROW(Crop(n, {0, 0, 0, 5}), Error);
}

TEST(SoftShadow, EnlargesTheCanvasAndDarkensBelowRight) {
  const Image src = Solid(100, 50, Colour{255, 255, 255});
  const int r = 4;
  const Image s = SoftShadow(src, r, 6, 6, Colour{0, 0, 0}, 100);
  EXPECT_EQ(s.width(), 100 + 6 + r);
  EXPECT_EQ(s.height(), 50 + 6 + r);
  EXPECT_TRUE(s.hasAlpha());
  // The picture stays where it was, untouched.
  EXPECT_EQ(MaxDiff(Crop(s, {0, 0, 100, 50}), src), 0);
  // Right of the picture: shadow, fading outwards; the top-right corner beyond it is clear.
  EXPECT_GT(s.pixel(102, 25)[3], s.pixel(108, 25)[3]);
  EXPECT_GT(s.pixel(102, 25)[3], 200);
  EXPECT_EQ(s.pixel(109, 0)[3], 0);
  EXPECT_EQ(s.pixel(0, 59)[3], 0);
  // Intensity scales the shadow.
  const Image faint = SoftShadow(src, r, 6, 6, Colour{0, 0, 0}, 50);
  EXPECT_NEAR(faint.pixel(102, 25)[3], s.pixel(102, 25)[3] / 2, 2);
  // Radius 0: a hard shadow of the offset only, in its colour.
  const Image hard = SoftShadow(src, 0, 3, 3, Colour{0, 0, 255}, 100);
  EXPECT_EQ(hard.width(), 103);
  EXPECT_EQ(hard.pixel(101, 25)[0], 255);
  EXPECT_EQ(hard.pixel(101, 25)[3], 255);
  EXPECT_EQ(hard.pixel(101, 1)[3], 0);
  // A shadow up and left grows the canvas that way and moves the picture.
  const Image up = SoftShadow(src, 2, -5, -5, Colour{0, 0, 0}, 100);
  EXPECT_EQ(up.width(), 107);
  EXPECT_EQ(MaxDiff(Crop(up, {7, 7, 100, 50}), src), 0);
}

TEST(FillAndFlatten, MakeOpaquePictures) {
  Image img = Reference("refa");
  Fill(img, Colour::FromColorRef(14320128));  // the panel blue: red 0, green 130, blue 218
  EXPECT_FALSE(img.hasAlpha());
  EXPECT_EQ(img.width(), 61);
  EXPECT_EQ(img.pixel(60, 36)[0], 218);
  EXPECT_EQ(img.pixel(60, 36)[1], 130);
  EXPECT_EQ(img.pixel(60, 36)[2], 0);
  Image half(1, 1, true);
  half.pixel(0, 0)[0] = 0, half.pixel(0, 0)[1] = 0, half.pixel(0, 0)[2] = 0, half.pixel(0, 0)[3] = 128;
  const Image flat = Flatten(half, Colour{255, 255, 255});
  EXPECT_FALSE(flat.hasAlpha());
  EXPECT_NEAR(flat.pixel(0, 0)[0], 127, 1);
  EXPECT_EQ(flat.pixel(0, 0)[3], 255);
}

TEST(History, UndoAndRedoSwapPicturesWithTheirCaptions) {
  History h;
  Image current = Noisy(60, 40);
  const Image original = current;
  CropWithHistory(h, current, {10, 10, 20, 10});
  const Image cropped = current;
  ShadowWithHistory(h, current);
  EXPECT_EQ(h.UndoCaptions(), (std::vector<std::string>{kCaptionShadow, kCaptionCrop}));
  ASSERT_TRUE(h.Undo(current));
  EXPECT_EQ(current, cropped);
  ASSERT_TRUE(h.Undo(current));
  EXPECT_EQ(current, original);
  EXPECT_FALSE(h.Undo(current));
  EXPECT_EQ(current, original);
  EXPECT_EQ(h.RedoCaptions(), (std::vector<std::string>{kCaptionCrop, kCaptionShadow}));
  ASSERT_TRUE(h.Redo(current));
  EXPECT_EQ(current, cropped);
  // A new edit drops what could have been redone.
  CropWithHistory(h, current, {0, 0, 5, 5});
  EXPECT_FALSE(h.CanRedo());
  EXPECT_EQ(h.UndoCaptions(), (std::vector<std::string>{kCaptionCrop, kCaptionCrop}));
}

TEST(History, KeepsOnlyTheNewestEntriesUpToItsLimit) {
  History h;  // 50, as the capture page sets
  Image current(1, 1);
  for (int i = 0; i < 60; ++i) h.Record("step " + std::to_string(i), Image(i + 1, 1));
  const auto captions = h.UndoCaptions();
  ASSERT_EQ(captions.size(), 50u);
  EXPECT_EQ(captions.front(), "step 59");
  EXPECT_EQ(captions.back(), "step 10");
  int undone = 0;
  while (h.Undo(current)) ++undone;
  EXPECT_EQ(undone, 50);
  EXPECT_EQ(current.width(), 11);  // the oldest kept entry
  h.Clear();
  EXPECT_FALSE(h.CanRedo());
}

TEST(History, CropWithoutSelectionChangesNothing) {
  History h;
  Image current = Noisy(30, 20);
  const Image before = current;
  for (Rect r : {Rect{}, Rect{5, 5, 0, 10}, Rect{40, 0, 5, 5}, Rect{-10, -10, 5, 5}}) CropWithHistory(h, current, r);
  EXPECT_EQ(current, before);
  EXPECT_FALSE(h.CanUndo());
  // The shadow of a picture narrower than 100 pixels uses radius 0.
  ShadowWithHistory(h, current);
  EXPECT_EQ(current.width(), 33);
}

}  // namespace
}  // namespace zel::img::test
