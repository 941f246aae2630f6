// The picture view as a window: what it paints where (upright, fitted, reduced, scrolled),
// that repainting reuses the reduced picture, and the mouse selection.
#include <windowsx.h>

#include "test_support.h"
#include "ui/form.h"
#include "ui/image_view.h"

namespace zel::test {
namespace {

constexpr COLORREF kBack = RGB(10, 20, 30);

// Four quadrants: red, yellow / blue, white.
img::Image Quadrants(int w, int h) {
  img::Image im(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      const uint8_t r = bottom && !right ? 0 : 255;
      const uint8_t g = right ? 255 : 0;
      const uint8_t b = bottom ? 255 : 0;
      uint8_t* p = im.pixel(x, y);
      p[0] = b, p[1] = g, p[2] = r;
    }
  return im;
}

class ImageViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::FormSpec spec;
    spec.caption = "image view";
    spec.outerWidth = 420;
    spec.outerHeight = 320;
    form.Create(spec);
    view.Create(form, {0, 0, 302, 202});   // a one-pixel frame around a 300 x 200 client area
    view.SetColour(kBack);
    form.Show();
    Pump(20);
  }

  // The client area as painted, read back through WM_PRINTCLIENT.
  struct Painted {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    COLORREF at(int x, int y) const {
      const uint32_t v = px[size_t(y) * size_t(w) + size_t(x)];
      return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
  };
  Painted Paint() {
    RECT rc;
    GetClientRect(view.hwnd(), &rc);
    Painted p;
    p.w = rc.right, p.h = rc.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), p.w, -p.h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    SendMessageA(view.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    GdiFlush();
    p.px.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size_t(p.w) * size_t(p.h));
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return p;
  }

  ui::Form form;
  ui::ImageView view;
};

TEST_F(ImageViewTest, PaintsThePictureUprightWhereTheModelPlacesIt) {
  // Enlarged (200 x 100 at 150 %) and reduced (1200 x 600 at 25 %): both fill 300 x 150 at top 25.
  for (int scale : {1, 6}) {
    view.SetImage(Quadrants(200 * scale, 100 * scale));
    ASSERT_EQ(view.model().ImageRect(), (ui::Rect{0, 25, 300, 150}));
    const Painted p = Paint();
    ASSERT_EQ(p.w, 300);
    EXPECT_EQ(p.at(75, 60), RGB(255, 0, 0)) << scale;
    EXPECT_EQ(p.at(225, 60), RGB(255, 255, 0)) << scale;
    EXPECT_EQ(p.at(75, 140), RGB(0, 0, 255)) << scale;
    EXPECT_EQ(p.at(225, 140), RGB(255, 255, 255)) << scale;
    EXPECT_EQ(p.at(150, 10), kBack);
    EXPECT_EQ(p.at(150, 190), kBack);
  }
  // At 100 % the large picture scrolls; its far corner shows after scrolling to the end.
  view.SetZoom(100);
  EXPECT_TRUE(GetWindowLongA(view.hwnd(), GWL_STYLE) & WS_HSCROLL);
  EXPECT_TRUE(GetWindowLongA(view.hwnd(), GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO si{sizeof(si), SIF_ALL};
  GetScrollInfo(view.hwnd(), SB_HORZ, &si);
  EXPECT_EQ(si.nMax, 1199);
  EXPECT_EQ(int(si.nPage), view.model().ViewWidth());
  EXPECT_EQ(Paint().at(5, 5), RGB(255, 0, 0));
  SendMessageA(view.hwnd(), WM_HSCROLL, SB_BOTTOM, 0);
  SendMessageA(view.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  const Painted end = Paint();
  EXPECT_EQ(end.at(end.w - 2, end.h - 2), RGB(255, 255, 255));
  // Back to fit: no scroll bars.
  view.Fit();
  EXPECT_FALSE(GetWindowLongA(view.hwnd(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(ImageViewTest, RepaintingReusesTheReducedPicture) {
  view.SetImage(Quadrants(1200, 600));
  for (int i = 0; i < 3; ++i) {
    Paint();
    RedrawWindow(view.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_EQ(view.DisplayScaleCount(), 1);
  // A new display size needs one new reduction, then none again.
  SetWindowPos(view.hwnd(), nullptr, 0, 0, 252, 152, SWP_NOZORDER | SWP_NOMOVE);
  Paint();
  Paint();
  EXPECT_EQ(view.DisplayScaleCount(), 2);
  // An enlarged picture needs none.
  view.SetImage(Quadrants(20, 10));
  Paint();
  EXPECT_EQ(view.DisplayScaleCount(), 2);
}

TEST_F(ImageViewTest, DraggingSelectsPicturePixelsAndTheWheelZooms) {
  view.SetImage(Quadrants(100, 50));   // 300 % : shown at (0, 25), 300 x 150
  int changes = 0;
  view.onSelectionChange = [&] { ++changes; };
  auto mouse = [&](UINT msg, int x, int y) { SendMessageA(view.hwnd(), msg, 0, MAKELPARAM(x, y)); };

  // Without selection switched on, a drag selects nothing.
  mouse(WM_LBUTTONDOWN, 30, 55);
  mouse(WM_MOUSEMOVE, 90, 85);
  mouse(WM_LBUTTONUP, 90, 85);
  EXPECT_EQ(view.Selection(), ui::Rect{});

  view.SetSelectionEnabled(true);
  mouse(WM_LBUTTONDOWN, 30, 55);
  mouse(WM_MOUSEMOVE, 60, 70);
  mouse(WM_MOUSEMOVE, 90, 85);
  mouse(WM_LBUTTONUP, 90, 85);
  EXPECT_EQ(view.Selection(), (ui::Rect{10, 10, 20, 10}));
  EXPECT_EQ(changes, 1);
  // The frame is drawn on the selection's edge, inside the red quadrant.
  EXPECT_NE(Paint().at(45, 55), RGB(255, 0, 0));
  EXPECT_EQ(Paint().at(45, 65), RGB(255, 0, 0));

  // A click clears it.
  mouse(WM_LBUTTONDOWN, 100, 100);
  mouse(WM_LBUTTONUP, 100, 100);
  EXPECT_EQ(view.Selection(), ui::Rect{});

  int zooms = 0;
  view.onZoomChange = [&] { ++zooms; };
  view.SetWheelZoom(true);
  POINT at{150, 100};
  ClientToScreen(view.hwnd(), &at);
  SendMessageA(view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(at.x, at.y));
  EXPECT_NEAR(view.Zoom(), 375.0, 1e-9);
  EXPECT_FALSE(view.AutoFit());
  EXPECT_EQ(zooms, 1);
}

}  // namespace
}  // namespace zel::test
