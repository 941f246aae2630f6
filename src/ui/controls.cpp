#include "ui/controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <map>

#include "core/text.h"
#include "ui/form.h"
#include "ui/paint_buffer.h"
#include "ui/resources.h"

namespace zel::ui {

namespace {
constexpr char kPanelClass[] = "ZelPanel";
constexpr char kPictureClass[] = "ZelPicture";
constexpr char kBevelClass[] = "ZelBevel";

bool FormDoubleBuffered(const Widget& w) {
  Form* f = w.form();
  return f && f->DoubleBuffered();
}

}  // namespace

// ---------------------------------------------------------------- Panel

void Panel::Create(Widget& parent, const Rect& r, const std::string& caption, COLORREF colour, bool loweredBevel) {
  RegisterClassOnce(kPanelClass);
  bevel_ = loweredBevel;
  if (colour != kInherit) SetColour(colour);
  CreateChild(parent, kPanelClass, caption, WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, r);
}

void Panel::Paint(HDC dc, const RECT& rc) {
  FillRect(dc, &rc, BackgroundBrush());
  if (!bevel_) return;
  // A lowered inner bevel: dark on the top and left, light on the bottom and right.
  HGDIOBJ old = SelectObject(dc, GetPen(skin::kBevelDark));
  MoveToEx(dc, 0, rc.bottom - 1, nullptr);
  LineTo(dc, 0, 0);
  LineTo(dc, rc.right, 0);
  SelectObject(dc, GetPen(skin::kBevelLight));
  MoveToEx(dc, rc.right - 1, 1, nullptr);
  LineTo(dc, rc.right - 1, rc.bottom - 1);
  LineTo(dc, 0, rc.bottom - 1);
  SelectObject(dc, old);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintClient(FormDoubleBuffered(*this));
    case WM_LBUTTONUP:
      if (onClick) onClick();
      return 0;
    case WM_LBUTTONDBLCLK:
      if (onDblClick) onDblClick();
      return 0;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- Label

void Label::Create(Widget& parent, const Rect& r, const std::string& caption, Align align, bool wordWrap) {
  DWORD style = WS_VISIBLE | SS_NOTIFY;
  if (align == Align::Centre) style |= SS_CENTER;
  else if (align == Align::Right) style |= SS_RIGHT;
  else style |= wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
  if (!wordWrap && align != Align::Left) style |= SS_ENDELLIPSIS;
  CreateChild(parent, "STATIC", caption, style, 0, r);
}

bool Label::OnCommand(WORD code) {
  if (code == STN_CLICKED && onClick) onClick();
  else if (code == STN_DBLCLK && onDblClick) onDblClick();
  else return false;
  return true;
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETCURSOR && hand_) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return TRUE;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- Button

void Button::Create(Widget& parent, const Rect& r, const std::string& caption, Glyph glyph, GlyphLayout layout) {
  glyph_ = glyph;
  layout_ = layout;
  CreateChild(parent, "BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, r);
}

void Button::SetGlyph(Glyph glyph, GlyphLayout layout) {
  glyph_ = glyph;
  layout_ = layout;
  Invalidate();
}

void Button::SetDown(bool down) {
  if (down == down_) return;
  down_ = down;
  if (down && group_ && parent_) {
    for (Widget* sibling : parent_->children())
      if (auto* b = dynamic_cast<Button*>(sibling); b && b != this && b->group_ == group_ && b->down_) {
        b->down_ = false;
        b->Invalidate();
      }
  }
  Invalidate();
}

void Button::Click() {
  if (group_) {
    if (down_ && allowAllUp_) SetDown(false);
    else if (!down_) SetDown(true);
  }
  if (onClick) onClick();
}

bool Button::OnCommand(WORD code) {
  if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return false;
  Click();
  return true;
}

LRESULT Button::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&tme);
        Invalidate();
      }
      break;
    case WM_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      break;
    case WM_ERASEBKGND:
      return 1;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

bool Button::OnDrawItem(DRAWITEMSTRUCT* item) {
  RECT rc = item->rcItem;
  PaintBuffer buffer(item->hDC, rc);
  HDC dc = buffer.dc();
  bool pressed = (item->itemState & ODS_SELECTED) || down_;
  bool disabled = item->itemState & ODS_DISABLED;
  bool focused = item->itemState & ODS_FOCUS;
  COLORREF face = faceColour_ != kInherit ? faceColour_ : skin::kButton;
  COLORREF fill = pressed ? downFace_ : (hot_ && !disabled ? skin::kButtonHot : face);
  COLORREF downText = downText_ == kInherit ? Font().colour : downText_;
  COLORREF text = disabled ? skin::kDisabledText : (pressed ? downText : Font().colour);
  FillRect(dc, &rc, GetBrush(fill));
  // A flat frame; the focused button shows a blue frame instead of a dotted focus rectangle.
  HGDIOBJ oldPen = SelectObject(dc, GetPen(focused || pressed ? skin::kButtonBorderFocus : skin::kButtonBorder));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);

  std::string caption = layout_ == GlyphLayout::Only ? std::string() : Text();
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int g = glyph_ == Glyph::None ? 0 : (glyphSize_ ? int(glyphSize_ * fontScale_) : (h >= 40 ? h * 55 / 100 : h * 62 / 100));
  if (g > w - 4) g = w - 4;
  HGDIOBJ oldFont = SelectObject(dc, GetFont(Font(), fontScale_));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  RECT tr = rc;
  if (glyph_ != Glyph::None && caption.empty()) {
    DrawGlyph(dc, glyph_, rc, g, text);
  } else if (glyph_ != Glyph::None && layout_ == GlyphLayout::Top) {
    int textH = h - g - 10;
    RECT gr{rc.left, rc.top + 4, rc.right, rc.top + 4 + g};
    DrawGlyph(dc, glyph_, gr, g, text);
    tr = {rc.left + 2, gr.bottom + 2, rc.right - 2, gr.bottom + 2 + (textH > 0 ? textH : 0) + 4};
    DrawTextA(dc, caption.c_str(), -1, &tr, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
  } else if (glyph_ != Glyph::None) {
    SIZE ts{};
    GetTextExtentPoint32A(dc, caption.c_str(), int(caption.size()), &ts);
    int total = g + 6 + ts.cx;
    int x = rc.left + (w - total) / 2;
    if (x < rc.left + 4) x = rc.left + 4;
    RECT gr{x, rc.top, x + g, rc.bottom};
    DrawGlyph(dc, glyph_, gr, g, text);
    tr = {x + g + 6, rc.top, rc.right - 2, rc.bottom};
    DrawTextA(dc, caption.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  } else {
    DrawTextA(dc, caption.c_str(), -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
  return true;
}

// ---------------------------------------------------------------- Edit

void Edit::Create(Widget& parent, const Rect& r, const std::string& text, bool readOnly, bool flat) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0) | (flat ? WS_BORDER : 0);
  CreateChild(parent, "EDIT", text, style, flat ? 0 : WS_EX_CLIENTEDGE, r);
  SetColour(kWhite);
}

void Edit::SetReadOnly(bool readOnly) { SendMessageA(hwnd_, EM_SETREADONLY, readOnly, 0); }

bool Edit::OnCommand(WORD code) {
  if (code == EN_CHANGE) {
    if (onChange) onChange();
    return true;
  }
  return false;
}

LRESULT Edit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      LRESULT code = Widget::HandleMessage(msg, wp, lp);
      auto* m = reinterpret_cast<MSG*>(lp);
      if (onKeyPress && m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_CHAR: {
      char key = char(wp);
      if (onKeyPress) onKeyPress(key);
      // A single-line edit only beeps at Enter; the program has handled the key by now.
      if (key == 0 || key == '\r') return 0;
      wp = WPARAM(static_cast<unsigned char>(key));
      break;
    }
    case WM_KEYDOWN:
      if (onKeyDown) onKeyDown(WORD(wp));
      break;
    case WM_KILLFOCUS:
      if (onExit) onExit();
      break;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- ComboBox

void ComboBox::Create(Widget& parent, const Rect& r, bool editable, const std::vector<std::string>& items) {
  editable_ = editable;
  Rect dropped = r;
  dropped.height += 200;  // the window's height includes its drop-down list
  DWORD style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
  CreateChild(parent, "COMBOBOX", "", style, 0, dropped);
  SetItems(items);
}

void ComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const auto& i : items) Add(i);
}

std::vector<std::string> ComboBox::Items() const {
  std::vector<std::string> r;
  for (int i = 0, n = Count(); i < n; ++i) r.push_back(Item(i));
  return r;
}

void ComboBox::Clear() { SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0); }
void ComboBox::Add(const std::string& item) { SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())); }
int ComboBox::Count() const { return int(SendMessageA(hwnd_, CB_GETCOUNT, 0, 0)); }

std::string ComboBox::Item(int index) const {
  LRESULT n = SendMessageA(hwnd_, CB_GETLBTEXTLEN, WPARAM(index), 0);
  if (n == CB_ERR) return {};
  std::string s(size_t(n) + 1, '\0');
  SendMessageA(hwnd_, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(size_t(n));
  return s;
}

int ComboBox::ItemIndex() const { return int(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }
void ComboBox::SetItemIndex(int index) { SendMessageA(hwnd_, CB_SETCURSEL, WPARAM(index), 0); }

int ComboBox::IndexOfText(const std::string& text) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (SameText(Item(i), text)) return i;
  return -1;
}

std::string ComboBox::Text() const {
  if (!editable_) {
    int i = ItemIndex();
    return i < 0 ? std::string() : Item(i);
  }
  return Widget::Text();
}

bool ComboBox::OnCommand(WORD code) {
  switch (code) {
    case CBN_SELCHANGE:
    case CBN_EDITCHANGE:
      if (onChange) onChange();
      return true;
    case CBN_SETFOCUS:
      if (onEnter) onEnter();
      return true;
  }
  return false;
}

// ---------------------------------------------------------------- ListBox

void ListBox::Create(Widget& parent, const Rect& r, bool sorted, int columns) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | (sorted ? LBS_SORT : 0);
  if (columns > 0) style = (style & ~WS_VSCROLL) | LBS_MULTICOLUMN | WS_HSCROLL;
  CreateChild(parent, "LISTBOX", "", style, WS_EX_CLIENTEDGE, r);
  if (columns > 0) SendMessageA(hwnd_, LB_SETCOLUMNWIDTH, WPARAM(r.width / columns), 0);
  SetColour(kWhite);
}

void ListBox::SetItems(const std::vector<std::string>& items) {
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  Clear();
  for (const auto& i : items) Add(i);
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

std::vector<std::string> ListBox::Items() const {
  std::vector<std::string> r;
  for (int i = 0, n = Count(); i < n; ++i) r.push_back(Item(i));
  return r;
}

void ListBox::Clear() { SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0); }
int ListBox::Add(const std::string& item) {
  return int(SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}
int ListBox::Count() const { return int(SendMessageA(hwnd_, LB_GETCOUNT, 0, 0)); }

std::string ListBox::Item(int index) const {
  LRESULT n = SendMessageA(hwnd_, LB_GETTEXTLEN, WPARAM(index), 0);
  if (n == LB_ERR) return {};
  std::string s(size_t(n) + 1, '\0');
  SendMessageA(hwnd_, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(size_t(n));
  return s;
}

int ListBox::ItemIndex() const { return int(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)); }
void ListBox::SetItemIndex(int index) { SendMessageA(hwnd_, LB_SETCURSEL, WPARAM(index), 0); }

bool ListBox::OnCommand(WORD code) {
  if (code == LBN_DBLCLK) {
    if (onDblClick) onDblClick();
    return true;
  }
  if (code == LBN_SELCHANGE) {
    if (onChange) onChange();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------- CheckBox

void CheckBox::Create(Widget& parent, const Rect& r, const std::string& caption, bool checked) {
  CreateChild(parent, "BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, r);
  SetChecked(checked);
}

bool CheckBox::Checked() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::SetChecked(bool checked) {
  SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (onClick) onClick();
  return true;
}

// ---------------------------------------------------------------- ProgressBar

void ProgressBar::Create(Widget& parent, const Rect& r, bool vertical, COLORREF bar) {
  CreateChild(parent, PROGRESS_CLASSA, "", WS_VISIBLE | PBS_SMOOTH | (vertical ? PBS_VERTICAL : 0), 0, r);
  RemoveTheme(hwnd_);
  SendMessageA(hwnd_, PBM_SETRANGE32, 0, 100);
  SendMessageA(hwnd_, PBM_SETBARCOLOR, 0, LPARAM(bar));
  SendMessageA(hwnd_, PBM_SETBKCOLOR, 0, LPARAM(kWhite));
}

void ProgressBar::SetPosition(int position) {
  if (position < 0) position = 0;
  if (position > 100) position = 100;
  SendMessageA(hwnd_, PBM_SETPOS, WPARAM(position), 0);
}

int ProgressBar::Position() const { return int(SendMessageA(hwnd_, PBM_GETPOS, 0, 0)); }

// ---------------------------------------------------------------- SpinEdit

void SpinEdit::Create(Widget& parent, const Rect& r, int minValue, int maxValue, int value) {
  min_ = minValue;
  max_ = maxValue;
  CreateChild(parent, "EDIT", std::to_string(Clamp(value)), WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
              WS_EX_CLIENTEDGE, r);
  SetColour(kWhite);
  updown_ = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0,
                            parent.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
  // The arrows report to the container, which hands their notifications to this object.
  SetWindowLongPtrA(updown_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageA(updown_, UDM_SETRANGE32, 0, 100);
  SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0);
}

SpinEdit::~SpinEdit() {
  if (updown_ && IsWindow(updown_)) {
    SetWindowLongPtrA(updown_, GWLP_USERDATA, 0);
    DestroyWindow(updown_);
  }
}

int SpinEdit::Value() const {
  auto v = ParseInteger(Widget::Text());
  return Clamp(v ? *v : min_);
}

void SpinEdit::SetValue(int value) { SetText(std::to_string(Clamp(value))); }

void SpinEdit::Step(int delta) { SetValue(Value() + delta); }

bool SpinEdit::OnCommand(WORD code) {
  if (code == EN_CHANGE) {
    if (onChange) onChange();
    return true;
  }
  return false;
}

LRESULT SpinEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KILLFOCUS:
      if (Widget::Text() != std::to_string(Value())) SetValue(Value());
      break;
    case WM_KEYDOWN:
      if (wp == VK_UP || wp == VK_DOWN) {
        Step(wp == VK_UP ? 1 : -1);
        return 0;
      }
      break;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

void SpinEdit::ApplyLayout(const Scale& s) {
  Widget::ApplyLayout(s);
  if (updown_) {
    // The arrows re-attach to the resized edit box.
    Rect r = ScaleRect(design_, s);
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0);
  }
}

// The arrows report to the container, which hands their notifications to this object.
bool SpinEdit::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->hwndFrom != updown_ || header->code != UDN_DELTAPOS) return false;
  Step(reinterpret_cast<NMUPDOWN*>(header)->iDelta > 0 ? 1 : -1);
  result = 1;  // the arrows keep no position of their own
  return true;
}

// ---------------------------------------------------------------- DateTimePicker

void DateTimePicker::Create(Widget& parent, const Rect& r, Kind kind) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | (kind == Kind::Time ? DTS_TIMEFORMAT | DTS_UPDOWN : DTS_SHORTDATEFORMAT);
  CreateChild(parent, DATETIMEPICK_CLASSA, "", style, 0, r);
}

SYSTEMTIME DateTimePicker::Value() const {
  SYSTEMTIME t{};
  SendMessageA(hwnd_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
  return t;
}

void DateTimePicker::SetValue(const SYSTEMTIME& t) {
  SendMessageA(hwnd_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

bool DateTimePicker::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->code != DTN_DATETIMECHANGE) return false;
  if (onChange) onChange();
  return true;
}

// ---------------------------------------------------------------- GroupBox

void GroupBox::Create(Widget& parent, const Rect& r, const std::string& caption) {
  CreateChild(parent, "BUTTON", caption, WS_VISIBLE | BS_GROUPBOX, WS_EX_CONTROLPARENT, r);
}

LRESULT GroupBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    PaintBackground(reinterpret_cast<HDC>(wp));
    return 1;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- PictureBox

PictureBox::~PictureBox() {
  if (icon_) DestroyIcon(icon_);
}

void PictureBox::Create(Widget& parent, const Rect& r, bool stretch) {
  RegisterClassOnce(kPictureClass);
  stretch_ = stretch;
  CreateChild(parent, kPictureClass, "", WS_VISIBLE, 0, r);
}

void PictureBox::SetIcon(HICON icon) {
  if (icon_ && icon_ != icon) DestroyIcon(icon_);
  icon_ = icon;
  Invalidate();
}

void PictureBox::SetGlyph(Glyph glyph, COLORREF colour) {
  glyph_ = glyph;
  glyphColour_ = colour;
  Invalidate();
}

void PictureBox::Paint(HDC dc, const RECT& rc) {
  FillRect(dc, &rc, BackgroundBrush());
  int w = rc.right, h = rc.bottom;
  if (icon_) {
    ICONINFO info{};
    int iw = 32, ih = 32;
    if (GetIconInfo(icon_, &info)) {
      BITMAP bm{};
      if (GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm)) {
        iw = bm.bmWidth;
        ih = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
      }
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    if (stretch_ || iw > w || ih > h) {
      // Scaled down (or stretched) proportionally to fit the box.
      double f = std::min(double(w) / iw, double(h) / ih);
      iw = int(iw * f);
      ih = int(ih * f);
    }
    DrawIconEx(dc, (w - iw) / 2, (h - ih) / 2, icon_, iw, ih, 0, nullptr, DI_NORMAL);
  } else if (glyph_ != Glyph::None) {
    DrawGlyph(dc, glyph_, rc, std::min(w, h), glyphColour_);
  }
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintClient();
    case WM_LBUTTONDBLCLK:
      if (onDblClick) onDblClick();
      return 0;
    case WM_LBUTTONUP:
      if (onClick) onClick();
      return 0;
    case WM_CONTEXTMENU:
      return 0;  // the picture has no context menu
  }
  return Widget::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- Bevel

void Bevel::Create(Widget& parent, const Rect& r) {
  RegisterClassOnce(kBevelClass);
  CreateChild(parent, kBevelClass, "", WS_VISIBLE, 0, r);
}

LRESULT Bevel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, BackgroundBrush());
    RECT line{0, rc.bottom / 2 - 1, rc.right, rc.bottom / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    EndPaint(hwnd_, &ps);
    return 0;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- PageControl

void PageControl::Create(Widget& parent, const Rect& r, bool showTabs, int tabWidth, int tabHeight) {
  tabs_ = showTabs;
  tabHeight_ = showTabs ? (tabHeight ? tabHeight : 20) : 0;
  if (showTabs) {
    CreateChild(parent, WC_TABCONTROLA, "", WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | (tabWidth ? TCS_FIXEDWIDTH : 0),
                WS_EX_CONTROLPARENT, r);
    if (tabWidth) SendMessageA(hwnd_, TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth, tabHeight_));
  } else {
    RegisterClassOnce(kPanelClass);
    CreateChild(parent, kPanelClass, "", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, r);
  }
}

Rect PageControl::SheetDesignRect() const {
  if (!tabs_) return {0, 0, design_.width, design_.height};
  return {4, tabHeight_ + 6, design_.width - 8, design_.height - tabHeight_ - 10};
}

Panel& PageControl::AddSheet(const std::string& caption) {
  if (tabs_) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    std::string text = caption;
    item.pszText = text.data();
    SendMessageA(hwnd_, TCM_INSERTITEMA, WPARAM(sheets_.size()), reinterpret_cast<LPARAM>(&item));
  }
  auto sheet = std::make_unique<Panel>();
  sheet->Create(*this, SheetDesignRect(), caption, skin::kFace);
  sheet->SetVisible(false);
  sheets_.push_back(std::move(sheet));
  if (active_ < 0) SetActivePage(0);
  PlaceSheet(*sheets_.back());
  return *sheets_.back();
}

void PageControl::SetActivePage(int index) {
  if (index < 0 || index >= int(sheets_.size())) return;
  active_ = index;
  if (tabs_) SendMessageA(hwnd_, TCM_SETCURSEL, WPARAM(index), 0);
  for (size_t i = 0; i < sheets_.size(); ++i) sheets_[i]->SetVisible(int(i) == index);
}

void PageControl::SetActiveSheet(const Panel* sheet) {
  for (size_t i = 0; i < sheets_.size(); ++i)
    if (sheets_[i].get() == sheet) SetActivePage(int(i));
}

bool PageControl::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->hwndFrom != hwnd_ || header->code != TCN_SELCHANGE) return false;
  SetActivePage(int(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)));
  if (onChange) onChange();
  return true;
}

void PageControl::PlaceSheet(Panel& sheet) {
  RECT area;
  GetClientRect(hwnd_, &area);
  if (tabs_) SendMessageA(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  RECT now;
  GetWindowRect(sheet.hwnd(), &now);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
  if (!EqualRect(&now, &area))
    SetWindowPos(sheet.hwnd(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PageControl::ApplyLayout(const Scale& s) {
  fontScale_ = s.font();
  ApplyFont();
  for (auto& sheet : sheets_) {
    PlaceSheet(*sheet);
    sheet->ApplyLayout(s);
  }
}

LRESULT PageControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    LRESULT r = Widget::HandleMessage(msg, wp, lp);
    for (auto& sheet : sheets_) PlaceSheet(*sheet);
    return r;
  }
  if (!tabs_ && msg == WM_ERASEBKGND) {
    PaintBackground(reinterpret_cast<HDC>(wp));
    return 1;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- Timer

namespace {
class TimerWindow : public Widget {
 public:
  static TimerWindow& Instance() {
    static TimerWindow w;
    return w;
  }
  std::map<UINT_PTR, Timer*> timers;
  UINT_PTR nextId = 1;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_TIMER) {
      auto it = timers.find(wp);
      if (it != timers.end() && it->second->onTimer) it->second->onTimer();
      return 0;
    }
    return Widget::HandleMessage(msg, wp, lp);
  }

 private:
  TimerWindow() {
    RegisterClassOnce("ZelTimerWindow", 0);
    CreateTopLevel("ZelTimerWindow", "", 0, 0, HWND_MESSAGE, 0, 0, 0, 0);
  }
};
}  // namespace

Timer::~Timer() {
  if (id_) {
    KillTimer(TimerWindow::Instance().hwnd(), id_);
    TimerWindow::Instance().timers.erase(id_);
  }
}

void Timer::SetInterval(UINT ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void Timer::Restart() {
  TimerWindow& w = TimerWindow::Instance();
  if (id_) {
    KillTimer(w.hwnd(), id_);
    w.timers.erase(id_);
    id_ = 0;
  }
  if (enabled_ && interval_ > 0) {
    id_ = w.nextId++;
    w.timers[id_] = this;
    SetTimer(w.hwnd(), id_, interval_, nullptr);
  }
}

// ---------------------------------------------------------------- PopupMenu

void PopupMenu::Show(HWND owner, POINT screen) {
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < items.size(); ++i) AppendMenuA(menu, MF_STRING, i + 1, items[i].caption.c_str());
  UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (chosen >= 1 && chosen <= items.size() && items[chosen - 1].onClick) items[chosen - 1].onClick();
}

}  // namespace zel::ui

namespace zel::ui {

void CreateBand(Panel& band, Label& caption, Widget& parent, const Rect& r, const std::string& text, Align align) {
  band.Create(parent, r, "", kPanelBlue);
  int h = 18;
  caption.Create(band, {10, (r.height - h) / 2, r.width - 20, h}, text, align);
  caption.SetFont({"Tahoma", 10, true, false, false, kWhite});
}

}  // namespace zel::ui
