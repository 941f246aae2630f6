// The dark-mode overlay: one window for the whole program, layered and mouse-transparent over
// the whole monitor, kept maximised and on top by its own timer, never taking the focus.
#include "test_support.h"

#include "dashboard/night_mode.h"

namespace zel::test {
namespace {

using dashboard::frmNMode;

BOOL CALLBACK CollectOverlay(HWND h, LPARAM found) {
  char cls[32] = {};
  GetClassNameA(h, cls, sizeof(cls));
  if (lstrcmpA(cls, "TfrmNMode") == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(h);
  return TRUE;
}

class DarkMode : public FrameTest {
 protected:
  static std::vector<HWND> Overlays() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), &CollectOverlay, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  // True when `upper` comes before `lower` in the z-order of top-level windows.
  static bool IsAbove(HWND upper, HWND lower) {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      if (h == upper) return true;
      if (h == lower) return false;
    }
    return false;
  }
  static RECT Screen() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
  static bool Covers(HWND h, const RECT& want) {
    RECT r;
    GetWindowRect(h, &r);
    return EqualRect(&r, &want);
  }
  // Lets the message loop run until `done` holds, for at most about three seconds.
  template <typename F>
  static bool PumpUntil(F done) {
    for (int i = 0; i < 60 && !done(); ++i) Pump(50);
    return done();
  }
  void Toggle(app::TfrmZelvane& f) { SendMessageA(f.side.btn1.hwnd(), BM_CLICK, 0, 0); }
};

TEST_F(DarkMode, OnOffOnUsesOneOverlayWindow) {
  auto& f = StartFrame();
  EXPECT_EQ(frmNMode(), nullptr);
  EXPECT_TRUE(Overlays().empty());

  Toggle(f);
  ASSERT_TRUE(f.side.btn1.Down());
  ASSERT_NE(frmNMode(), nullptr);
  HWND overlay = frmNMode()->hwnd();
  EXPECT_TRUE(IsWindowVisible(overlay));
  EXPECT_TRUE(frmNMode()->Timer1.Enabled());
  EXPECT_EQ(frmNMode()->Timer1.Interval(), 100u);

  Toggle(f);
  EXPECT_FALSE(f.side.btn1.Down());
  EXPECT_FALSE(IsWindowVisible(overlay));
  EXPECT_FALSE(frmNMode()->Timer1.Enabled());
  Pump(250);   // a stopped timer must not bring the overlay back
  EXPECT_FALSE(IsWindowVisible(overlay));

  Toggle(f);
  EXPECT_TRUE(f.side.btn1.Down());
  EXPECT_EQ(frmNMode()->hwnd(), overlay);
  EXPECT_TRUE(IsWindowVisible(overlay));
  EXPECT_EQ(Overlays(), std::vector<HWND>{overlay});

  // A further main window switches the same overlay, never a second one.
  f.IconDblClick();
  ASSERT_EQ(f.FurtherWindows().size(), 1u);
  Toggle(*f.FurtherWindows()[0]);
  EXPECT_EQ(Overlays(), std::vector<HWND>{overlay});

  // Closing the main window while dark mode is on removes the overlay.
  CloseFrame();
  EXPECT_TRUE(Overlays().empty());
  EXPECT_EQ(frmNMode(), nullptr);
}

TEST_F(DarkMode, OverlayIsABlackLayeredMouseTransparentWindowOverTheMonitor) {
  auto& f = StartFrame();
  Toggle(f);
  ASSERT_NE(frmNMode(), nullptr);
  HWND overlay = frmNMode()->hwnd();

  // Exactly layered plus mouse-transparent; being in the topmost band adds the topmost bit.
  LONG_PTR ex = GetWindowLongPtrA(overlay, GWL_EXSTYLE);
  EXPECT_EQ(ex & ~LONG_PTR(WS_EX_TOPMOST), LONG_PTR(0x80020)) << std::hex << ex;
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  LONG_PTR style = GetWindowLongPtrA(overlay, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(IsZoomed(overlay));
  EXPECT_TRUE(Covers(overlay, Screen()));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(overlay, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 150);
  EXPECT_TRUE(flags & LWA_ALPHA);
  EXPECT_EQ(frmNMode()->Text(), "Night Mode");

  // It paints black, and it leaves the focus with the main window.
  Pump(100);
  HDC dc = GetDC(overlay);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));
  ReleaseDC(overlay, dc);
  EXPECT_NE(GetForegroundWindow(), overlay);
  EXPECT_NE(GetActiveWindow(), overlay);
}

TEST_F(DarkMode, ClicksPassThroughTheOverlayToTheWindowsBeneath) {
  auto& f = StartFrame();
  Toggle(f);
  ASSERT_TRUE(IsWindowVisible(frmNMode()->hwnd()));
  RECT r;
  GetWindowRect(f.side.btn1.hwnd(), &r);
  POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  EXPECT_EQ(WindowFromPoint(centre), f.side.btn1.hwnd());

  // A real click through the system's input queue reaches "Dark Mode" and switches it off.
  SetCursorPos(centre.x, centre.y);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  EXPECT_TRUE(PumpUntil([&] { return !f.side.btn1.Down(); }));
  EXPECT_FALSE(IsWindowVisible(frmNMode()->hwnd()));
}

TEST_F(DarkMode, TimerCoversALaterTopmostWindowAndMaximisesAgain) {
  auto& f = StartFrame();
  Toggle(f);
  HWND overlay = frmNMode()->hwnd();
  HWND other = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP, 20, 20, 200, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(other);
  SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ASSERT_TRUE(IsAbove(other, overlay));
  // Another program restores and shrinks the overlay.
  ShowWindow(overlay, SW_SHOWNOACTIVATE);
  SetWindowPos(overlay, nullptr, 100, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_FALSE(Covers(overlay, Screen()));

  EXPECT_TRUE(PumpUntil([&] { return IsAbove(overlay, other) && Covers(overlay, Screen()); }));
  EXPECT_TRUE(IsZoomed(overlay));
  EXPECT_NE(GetForegroundWindow(), overlay);
  EXPECT_NE(GetActiveWindow(), overlay);
  DestroyWindow(other);
}

}  // namespace
}  // namespace zel::test
