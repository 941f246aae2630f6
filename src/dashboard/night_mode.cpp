#include "dashboard/night_mode.h"

#include <memory>

#include "dashboard/side_panel.h"

namespace zel::dashboard {

namespace {

constexpr char kClassName[] = "TfrmNMode";
constexpr char kOwnerClassName[] = "ZelNightModeOwner";

// A hidden top-level window that owns the overlay, as the application window owns the
// program's secondary windows: an owned window gets no taskbar button, and it stays up while
// a main window is minimised, hidden in the tray or closed.
class OverlayOwner : public ui::Widget {
 public:
  OverlayOwner() {
    RegisterClassOnce(kOwnerClassName, 0);
    CreateTopLevel(kOwnerClassName, "", WS_POPUP, 0, nullptr, 0, 0, 0, 0);
  }
};

struct NightMode {
  std::unique_ptr<OverlayOwner> owner;
  std::unique_ptr<TfrmNMode> form;
};

NightMode& State() {
  static NightMode state;
  return state;
}

RECT MonitorRect(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcMonitor;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

TfrmNMode::TfrmNMode(HWND owner) {
  RegisterClassOnce(kClassName, 0);
  // Borderless and maximised from the start, at the primary monitor's place.
  RECT m = MonitorRect(nullptr);
  CreateTopLevel(kClassName, "Night Mode", WS_POPUP | WS_MAXIMIZE, WS_EX_LAYERED, owner, m.left, m.top,
                 m.right - m.left, m.bottom - m.top);
  FormCreate();
}

void TfrmNMode::FormCreate() {
  HWND h = hwnd();
  SetColour(RGB(0, 0, 0));
  SetLayeredWindowAttributes(h, 0, kAlpha, LWA_ALPHA);
  // Then replace the extended style with exactly layered plus mouse-transparent. The layered
  // bit stays set, so the alpha stays; the change itself is what makes the window let mouse
  // input through.
  SetWindowLongPtrA(h, GWL_EXSTYLE, LONG_PTR(kExStyle));
  Timer1.onTimer = [this] { Timer1Timer(); };
  Timer1.SetInterval(kInterval);
  Timer1.SetEnabled(true);
}

void TfrmNMode::Timer1Timer() {
  HWND h = hwnd();
  if (!h) return;
  // Maximised again if something restored or minimised it. The system's show-maximised
  // command would also activate the overlay and take the keyboard from the user ten times a
  // second, so the state and the monitor's bounds are applied without activation.
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  if ((style & (WS_MAXIMIZE | WS_MINIMIZE)) != WS_MAXIMIZE)
    SetWindowLongPtrA(h, GWL_STYLE, (style & ~LONG_PTR(WS_MINIMIZE)) | WS_MAXIMIZE);
  RECT m = MonitorRect(h);
  SetWindowPos(h, HWND_TOPMOST, m.left, m.top, m.right - m.left, m.bottom - m.top,
               SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

void TfrmNMode::SwitchOn() {
  Timer1.SetEnabled(true);
  Timer1Timer();
}

void TfrmNMode::SwitchOff() {
  Timer1.SetEnabled(false);
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

LRESULT TfrmNMode::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      EndPaint(hwnd(), &ps);
      return 0;
    }
  }
  return Widget::HandleMessage(msg, wp, lp);
}

TfrmNMode* frmNMode() { return State().form.get(); }

TfrmNMode& NightModeWindow() {
  NightMode& s = State();
  if (!s.form || !s.form->hwnd()) {
    s.form.reset();
    if (!s.owner || !s.owner->hwnd()) s.owner = std::make_unique<OverlayOwner>();
    s.form = std::make_unique<TfrmNMode>(s.owner->hwnd());
  }
  return *s.form;
}

void ReleaseNightMode() {
  NightMode& s = State();
  s.form.reset();
  s.owner.reset();
}

void SidePanel::btn1Click() {
  TfrmNMode& overlay = NightModeWindow();
  if (btn1.Down()) overlay.SwitchOn();
  else overlay.SwitchOff();
}

}  // namespace zel::dashboard
