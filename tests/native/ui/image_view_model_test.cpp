// The picture view's geometry: fitting, fixed zoom with scrolling, the scroll bars it needs,
// the view/picture mapping and the mouse selection in picture coordinates.
#include <gtest/gtest.h>

#include "ui/image_view_model.h"

namespace zel::ui {
namespace {

ImageViewModel Model(int iw, int ih, int vw, int vh) {
  ImageViewModel m;
  m.SetViewSize(vw, vh);
  m.SetImageSize(iw, ih);
  return m;
}

TEST(ImageViewModel, AutoFitFillsTheViewKeepingTheAspectAndCentres) {
  const struct {
    int iw, ih, vw, vh;
    Rect expected;
  } cases[] = {
      {200, 100, 300, 300, {0, 75, 300, 150}},      // wide, enlarged
      {1000, 2000, 300, 300, {75, 0, 150, 300}},    // tall, reduced
      {6000, 4000, 700, 440, {20, 0, 660, 440}},    // a photo in the logon preview
      {50, 50, 300, 200, {50, 0, 200, 200}},        // small square, enlarged
      {1, 10000, 300, 200, {149, 0, 1, 200}},       // never narrower than one pixel
  };
  for (const auto& c : cases) {
    ImageViewModel m = Model(c.iw, c.ih, c.vw, c.vh);
    EXPECT_TRUE(m.AutoFit());
    EXPECT_EQ(m.ImageRect(), c.expected) << c.iw << "x" << c.ih;
    EXPECT_EQ(m.MaxScrollX(), 0);
    EXPECT_EQ(m.MaxScrollY(), 0);
  }
  // The fit follows the view.
  ImageViewModel m = Model(200, 100, 300, 300);
  m.SetViewSize(100, 100);
  EXPECT_EQ(m.ImageRect(), (Rect{0, 25, 100, 50}));
  EXPECT_DOUBLE_EQ(m.Zoom(), 50.0);
}

TEST(ImageViewModel, FixedZoomScrollsWithinThePicture) {
  ImageViewModel m = Model(400, 300, 200, 100);
  m.SetZoom(100);
  EXPECT_FALSE(m.AutoFit());
  EXPECT_EQ(m.MaxScrollX(), 200);
  EXPECT_EQ(m.MaxScrollY(), 200);
  m.ScrollTo(500, -20);
  EXPECT_EQ(m.ScrollX(), 200);
  EXPECT_EQ(m.ScrollY(), 0);
  m.ScrollTo(500, 120);
  EXPECT_EQ(m.ImageRect(), (Rect{-200, -120, 400, 300}));
  // A larger view pulls the offset back; an axis that fits is centred.
  m.SetViewSize(500, 250);
  EXPECT_EQ(m.ImageRect(), (Rect{50, -50, 400, 300}));
  // Zoom is clamped; back to fit drops the offsets.
  m.SetZoom(1e6);
  EXPECT_DOUBLE_EQ(m.Zoom(), ImageViewModel::kMaxZoom);
  m.SetAutoFit(true);
  EXPECT_EQ(m.ScrollX(), 0);
  EXPECT_EQ(m.ScrollY(), 0);
  // A new picture starts at the origin.
  m.SetZoom(400);
  m.ScrollTo(100, 100);
  m.SetImageSize(800, 800);
  EXPECT_EQ(m.ScrollX(), 0);
  EXPECT_EQ(m.ScrollY(), 0);
}

TEST(ImageViewModel, ZoomAtKeepsThePointUnderThePointer) {
  ImageViewModel m = Model(400, 300, 200, 150);   // fitted at 50 %
  const struct {
    double zoom;
    int x, y;
  } steps[] = {{200, 50, 30}, {300, 190, 140}, {125, 0, 0}, {800, 100, 75}};
  for (const auto& s : steps) {
    const PointD before = m.ViewToImage(s.x, s.y);
    m.ZoomAt(s.zoom, s.x, s.y);
    const PointD after = m.ViewToImage(s.x, s.y);
    EXPECT_NEAR(after.x, before.x, 1.0 / s.zoom * 100) << s.zoom;
    EXPECT_NEAR(after.y, before.y, 1.0 / s.zoom * 100) << s.zoom;
  }
  // Zooming out until the picture fits centres it again.
  m.ZoomAt(10, 0, 0);
  EXPECT_EQ(m.ImageRect(), (Rect{80, 60, 40, 30}));
}

TEST(ImageViewModel, ScrollBarsAppearOnlyWhereNeeded) {
  ImageViewModel m = Model(500, 400, 600, 500);
  m.SetZoom(100);
  const struct {
    int w, h;
    ScrollBars bars;
  } cases[] = {
      {600, 500, {false, false}},
      {490, 500, {true, false}},    // the horizontal bar still leaves room for the height
      {490, 410, {true, true}},     // ... here it does not
      {600, 395, {false, true}},
      {510, 395, {true, true}},     // the vertical bar takes the width away
      {500, 400, {false, false}},   // exactly fitting needs none
  };
  for (const auto& c : cases) EXPECT_EQ(m.BarsFor(c.w, c.h, 17, 17), c.bars) << c.w << "x" << c.h;
  m.SetAutoFit(true);
  EXPECT_EQ(m.BarsFor(100, 100, 17, 17), (ScrollBars{false, false}));
}

TEST(ImageViewModel, MappingRoundTrips) {
  ImageViewModel m = Model(640, 480, 300, 200);
  for (double zoom : {10.0, 33.3, 100.0, 250.0}) {
    m.SetZoom(zoom);
    m.ScrollTo(37, 11);
    for (PointD p : {PointD{0, 0}, PointD{639.5, 1.25}, PointD{320, 240}}) {
      const PointD v = m.ImageToView(p.x, p.y);
      const PointD back = m.ViewToImage(v.x, v.y);
      EXPECT_NEAR(back.x, p.x, 1e-9);
      EXPECT_NEAR(back.y, p.y, 1e-9);
    }
  }
}

TEST(ImageViewModel, SelectionIsKeptInPicturePixelsInsideThePicture) {
  // 100 x 80 at 200 % in a 300 x 200 view: shown at (50, 20), 200 x 160.
  ImageViewModel m = Model(100, 80, 300, 200);
  m.SetZoom(200);
  ASSERT_EQ(m.ImageRect(), (Rect{50, 20, 200, 160}));
  const struct {
    int x0, y0, x1, y1;
    Rect expected;
  } drags[] = {
      {70, 40, 110, 80, {10, 10, 20, 20}},
      {110, 80, 70, 40, {10, 10, 20, 20}},     // dragged up and left
      {70, 40, 400, 300, {10, 10, 90, 70}},    // past the picture: clipped
      {0, 0, 20, 10, {}},                      // wholly outside: nothing
      {70, 40, 70, 40, {}},                    // a click: nothing
      {71, 41, 72, 42, {}},                    // less than a pixel: nothing
  };
  for (const auto& d : drags) {
    m.BeginSelection(d.x0, d.y0);
    EXPECT_TRUE(m.Selecting());
    m.DragSelection(d.x1, d.y1);
    m.EndSelection();
    EXPECT_FALSE(m.Selecting());
    EXPECT_EQ(m.Selection(), d.expected) << d.x0 << "," << d.y0 << " -> " << d.x1 << "," << d.y1;
  }
  m.SetSelection({-5, 70, 20, 50});
  EXPECT_EQ(m.Selection(), (Rect{0, 70, 15, 10}));
  EXPECT_EQ(m.SelectionInView(), (Rect{50, 160, 30, 20}));
  // The selection stays on the same pixels when the view scrolls or zooms.
  m.SetZoom(400);
  m.ScrollTo(40, 0);
  EXPECT_EQ(m.Selection(), (Rect{0, 70, 15, 10}));
  EXPECT_EQ(m.SelectionInView(), (Rect{-40, 280, 60, 40}));
  // A new picture drops it.
  m.SetImageSize(50, 50);
  EXPECT_FALSE(m.HasSelection());
  // Without a picture there is nothing to select.
  m.SetImageSize(0, 0);
  m.BeginSelection(10, 10);
  EXPECT_FALSE(m.Selecting());
}

}  // namespace
}  // namespace zel::ui
