#include "ui/form.h"

#include <commctrl.h>

namespace zel::ui {

namespace {
bool BelongsToThisProcess(HWND hwnd) {
  DWORD pid = 0;
  return hwnd && GetWindowThreadProcessId(hwnd, &pid) && pid == GetCurrentProcessId();
}
}  // namespace

double ScreenDpiScale() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi / 96.0 : 1.0;
}

Form::~Form() {
  if (tooltip_) DestroyWindow(tooltip_);
}

void Form::Create(const FormSpec& spec) {
  designW_ = spec.designClientWidth;
  designH_ = spec.designClientHeight;
  double dpi = ScreenDpiScale();
  minW_ = int(spec.minOuterWidth * dpi);
  minH_ = int(spec.minOuterHeight * dpi);
  int w = int(spec.outerWidth * dpi), h = int(spec.outerHeight * dpi);
  // Centred on the desktop's work area, so the window starts clear of the taskbar.
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int x = work.left + ((work.right - work.left) - w) / 2;
  int y = work.top + ((work.bottom - work.top) - h) / 2;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  RegisterClassOnce(spec.className, CS_DBLCLKS, nullptr, spec.icon);
  CreateTopLevel(spec.className, spec.caption, spec.style | WS_CLIPCHILDREN, spec.exStyle | WS_EX_CONTROLPARENT,
                 spec.owner, x, y, w, h);
  if (spec.icon) {
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(spec.icon));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(spec.icon));
  }
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (tooltip_) SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 420);
  Relayout();
}

void Form::Relayout() {
  if (!hwnd_ || !designW_ || !designH_) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  if (rc.right <= 0 || rc.bottom <= 0) return;  // minimised: keep the last layout
  scale_ = Scale{double(rc.right) / designW_, double(rc.bottom) / designH_};
  // Redrawing is held back only while the window shows: WM_SETREDRAW would make a hidden
  // window visible.
  bool visible = IsWindowVisible(hwnd_);
  if (visible) SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  ApplyLayout(scale_);
  if (visible) {
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

void Form::Show() {
  if (hwnd_) {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
  }
}

void Form::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Form::Close() {
  if (hwnd_) SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (onMessage) {
    LRESULT result = 0;
    if (onMessage(msg, wp, lp, result)) return result;
  }
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) {
        Relayout();
        if (onResize) onResize();
      }
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      if (minW_) info->ptMinTrackSize.x = minW_;
      if (minH_) info->ptMinTrackSize.y = minH_;
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wp && onShow) onShow();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        lostFocusToOwnWindow_ = BelongsToThisProcess(reinterpret_cast<HWND>(lp));
      } else {
        bool fire = !activatedOnce_ || lostFocusToOwnWindow_ || BelongsToThisProcess(reinterpret_cast<HWND>(lp));
        activatedOnce_ = true;
        lostFocusToOwnWindow_ = false;
        if (fire && onActivate) onActivate();
      }
      break;
    case WM_CLOSE: {
      CloseAction action = closeAction;
      if (onClose) onClose(action);
      if (action == CloseAction::Hide) Hide();
      else if (action == CloseAction::Free) DestroyWindow(hwnd_);
      return 0;
    }
    case WM_DESTROY:
      if (onDestroy) onDestroy();
      break;
    case WM_COMMAND:
      // Enter on a focused button (the dialog manager sends IDOK to the form).
      if (LOWORD(wp) == IDOK && lp == 0) {
        HWND focus = GetFocus();
        char cls[16] = {};
        if (focus && GetClassNameA(focus, cls, sizeof(cls)) && lstrcmpiA(cls, "Button") == 0)
          SendMessageA(focus, BM_CLICK, 0, 0);
        return 0;
      }
      break;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

}  // namespace zel::ui
