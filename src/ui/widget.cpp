#include "ui/widget.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "core/error.h"
#include "core/seams.h"
#include "ui/form.h"
#include "ui/paint_buffer.h"
#include "ui/resources.h"

namespace zel::ui {

namespace {
// Hints break lines at a lone carriage return; the tool tip control wants CR LF.
std::string TooltipText(const std::string& hint) {
  std::string out;
  for (size_t i = 0; i < hint.size(); ++i) {
    out += hint[i];
    if (hint[i] == '\r' && (i + 1 >= hint.size() || hint[i + 1] != '\n')) out += '\n';
  }
  return out;
}
}  // namespace

bool ScrollRequestTarget(HWND hwnd, int bar, WORD request, int pos, int line, int page, int max, int& target) {
  switch (request) {
    case SB_LINEUP: target = pos - line; return true;
    case SB_LINEDOWN: target = pos + line; return true;
    case SB_PAGEUP: target = pos - page; return true;
    case SB_PAGEDOWN: target = pos + page; return true;
    case SB_TOP: target = 0; return true;
    case SB_BOTTOM: target = max; return true;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd, bar, &si);
      target = si.nTrackPos;
      return true;
    }
    default: return false;
  }
}

void ReportError(HWND owner, const std::string& message) {
  if (Prompter* p = services().prompts) p->ErrorBox(owner, ErrorBoxText(message));
}

Widget::~Widget() {
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (Widget* child : children_) child->parent_ = nullptr;
  if (hwnd_) {
    HWND h = hwnd_;
    Detach();
    DestroyWindow(h);
  }
}

Form* Widget::form() const {
  const Widget* w = this;
  while (w->parent_) w = w->parent_;
  return dynamic_cast<Form*>(const_cast<Widget*>(w));
}

Widget* Widget::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  return reinterpret_cast<Widget*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void Widget::RegisterClassOnce(const char* className, UINT classStyle, HCURSOR cursor, HICON icon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExA(GetModuleHandleA(nullptr), className, &wc)) return;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof(wc);
  wc.style = classStyle;
  wc.lpfnWndProc = &Widget::Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = cursor ? cursor : LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = icon;
  wc.lpszClassName = className;
  RegisterClassExA(&wc);
}

void Widget::CreateChild(Widget& parent, const char* className, const std::string& text, DWORD style, DWORD exStyle,
                         const Rect& design) {
  parent_ = &parent;
  parent.children_.push_back(this);
  design_ = design;
  // Created straight at its scaled bounds, so building a window costs one creation per control.
  Form* f = form();
  Scale scale = f ? f->CurrentScale() : Scale{};
  fontScale_ = scale.font();
  Rect r = ScaleRect(design, scale);
  HWND h = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, r.left, r.top, r.width, r.height,
                           parent.hwnd_, nullptr, GetModuleHandleA(nullptr), this);
  if (!h) throw Error(std::string("Cannot create the window of class ") + className);
  if (!hwnd_) {
    // A standard control: take over its window procedure.
    hwnd_ = h;
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  }
  ApplyFont();
  if (showHint_ && !hint_.empty()) SetHint(hint_, true);
}

void Widget::CreateTopLevel(const char* className, const std::string& text, DWORD style, DWORD exStyle, HWND owner,
                            int x, int y, int w, int h) {
  HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), style, x, y, w, h, owner, nullptr,
                              GetModuleHandleA(nullptr), this);
  if (!hwnd) throw Error(std::string("Cannot create the window of class ") + className);
}

LRESULT CALLBACK Widget::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Widget* w = FromHandle(hwnd);
  if (!w && msg == WM_NCCREATE) {
    // One of the program's own classes: the object comes with the creation parameters.
    w = static_cast<Widget*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    if (w) {
      w->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    }
  }
  if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    LRESULT r = w->DefaultProc(msg, wp, lp);
    w->Detach();
    return r;
  }
  try {
    return w->Dispatch(msg, wp, lp);
  } catch (const std::exception& e) {
    ReportError(GetAncestor(hwnd, GA_ROOT), e.what());
  } catch (...) {
    ReportError(GetAncestor(hwnd, GA_ROOT), "Unexpected error");
  }
  return 0;
}

void Widget::Detach() {
  if (!hwnd_) return;
  if (original_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
}

LRESULT Widget::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return original_ ? CallWindowProcA(original_, hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT Widget::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  // Notifications of child controls go back to the child's object.
  switch (msg) {
    case WM_COMMAND:
      if (lp) {
        Widget* child = FromHandle(reinterpret_cast<HWND>(lp));
        if (child && child != this && child->OnCommand(HIWORD(wp))) return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
        Widget* tool = (info->uFlags & TTF_IDISHWND) ? FromHandle(reinterpret_cast<HWND>(header->idFrom)) : nullptr;
        if (tool) {
          static std::string text;
          text = TooltipText(tool->hint_);
          info->lpszText = text.data();
          return 0;
        }
      }
      Widget* child = FromHandle(header->hwndFrom);
      LRESULT result = 0;
      if (child && child != this && child->OnNotify(header, result)) return result;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      Widget* child = FromHandle(reinterpret_cast<HWND>(lp));
      if (child && child != this)
        if (HBRUSH b = child->OnControlColour(reinterpret_cast<HDC>(wp), msg)) return reinterpret_cast<LRESULT>(b);
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      Widget* child = item->CtlType == ODT_MENU ? nullptr : FromHandle(item->hwndItem);
      if (child && child != this && child->OnDrawItem(item)) return TRUE;
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lp) {
        Widget* child = FromHandle(reinterpret_cast<HWND>(lp));
        if (child && child != this && child->OnScroll(msg, wp)) return 0;
      }
      break;
  }
  return HandleMessage(msg, wp, lp);
}

LRESULT Widget::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (!original_ && msg == WM_ERASEBKGND) {
    PaintBackground(reinterpret_cast<HDC>(wp));
    return 1;
  }
  return DefaultProc(msg, wp, lp);
}

HBRUSH Widget::OnControlColour(HDC dc, UINT msg) {
  SetTextColor(dc, IsWindowEnabled(hwnd_) ? Font().colour : skin::kDisabledText);
  COLORREF bg = Colour();
  SetBkColor(dc, bg);
  return GetBrush(bg);
}

HBRUSH Widget::BackgroundBrush() const { return GetBrush(Colour()); }

void Widget::PaintBackground(HDC dc) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, BackgroundBrush());
}

LRESULT Widget::PaintClient(bool buffered) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT rc;
  GetClientRect(hwnd_, &rc);
  if (rc.right > 0 && rc.bottom > 0) {
    PaintBuffer buffer(dc, rc, buffered);
    Paint(buffer.dc(), rc);
  }
  EndPaint(hwnd_, &ps);
  return 0;
}

void Widget::SetDesignRect(const Rect& r) {
  design_ = r;
  if (Form* f = form(); f && hwnd_) {
    Rect s = ScaleRect(r, f->CurrentScale());
    SetWindowPos(hwnd_, nullptr, s.left, s.top, s.width, s.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

std::string Widget::Text() const {
  if (!hwnd_) return {};
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(size_t(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, s.data(), n + 1);
  s.resize(size_t(n));
  return s;
}

void Widget::SetText(const std::string& text) {
  if (hwnd_ && Text() != text) SetWindowTextA(hwnd_, text.c_str());
}

bool Widget::Visible() const { return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE); }
void Widget::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}
bool Widget::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void Widget::SetEnabled(bool enabled) {
  if (hwnd_ && bool(IsWindowEnabled(hwnd_)) != enabled) {
    EnableWindow(hwnd_, enabled);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
}
void Widget::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}
void Widget::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Widget::SetColour(COLORREF background) {
  colour_ = background;
  Invalidate();
}

COLORREF Widget::Colour() const {
  for (const Widget* w = this; w; w = w->parent_)
    if (w->colour_ != kInherit) return w->colour_;
  return skin::kFace;
}

void Widget::SetFont(const FontSpec& font) {
  font_ = font;
  hasFont_ = true;
  ApplyFont();
  for (Widget* c : children_)
    if (!c->hasFont_) c->ApplyFont();
}

void Widget::SetFontColour(COLORREF colour) {
  FontSpec f = Font();
  f.colour = colour;
  SetFont(f);
}

void Widget::SetBold(bool bold) {
  FontSpec f = Font();
  f.bold = bold;
  SetFont(f);
}

const FontSpec& Widget::Font() const {
  static const FontSpec kDefault;
  for (const Widget* w = this; w; w = w->parent_)
    if (w->hasFont_) return w->font_;
  return kDefault;
}

void Widget::ApplyFont() {
  if (!hwnd_) return;
  HFONT font = GetFont(Font(), fontScale_);
  if (reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) == font) return;
  bool visible = IsWindowVisible(hwnd_);
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), visible);
  if (visible) Invalidate();
}

void Widget::SetHint(const std::string& hint, bool show) {
  hint_ = hint;
  showHint_ = show;
  Form* f = form();
  if (!hwnd_ || !f || !parent_) return;
  HWND tip = f->TooltipWindow();
  if (!tip) return;
  TOOLINFOA ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent_->hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = LPSTR_TEXTCALLBACKA;
  if (show && !hint.empty() && !hintRegistered_) {
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    hintRegistered_ = true;
  } else if ((!show || hint.empty()) && hintRegistered_) {
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    hintRegistered_ = false;
  }
}

void Widget::ApplyLayout(const Scale& s) {
  fontScale_ = s.font();
  if (!children_.empty()) {
    HDWP batch = BeginDeferWindowPos(int(children_.size()));
    for (Widget* c : children_) {
      if (!c->hwnd_) continue;
      Rect r = ScaleRect(c->design_, s);
      if (batch)
        batch = DeferWindowPos(batch, c->hwnd_, nullptr, r.left, r.top, r.width, r.height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch) EndDeferWindowPos(batch);
  }
  ApplyFont();
  for (Widget* c : children_) c->ApplyLayout(s);
}

}  // namespace zel::ui
