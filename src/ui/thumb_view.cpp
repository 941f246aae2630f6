#include "ui/thumb_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "core/text.h"
#include "imaging/ops.h"
#include "ui/form.h"
#include "ui/bitmap.h"
#include "ui/resources.h"

namespace zel::ui {

namespace {
constexpr char kThumbViewClass[] = "ZelThumbView";
constexpr COLORREF kViewBack = kWhite;
constexpr COLORREF kFrameBack = RGB(248, 249, 251);
constexpr COLORREF kHotBack = RGB(236, 244, 253);
constexpr COLORREF kSelectedBack = RGB(204, 228, 250);
constexpr COLORREF kSelectedFrame = kPanelBlue;
constexpr int kMinThumbnailSide = 160;

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }

void FrameRect(HDC dc, const Rect& r, COLORREF colour, int width = 1) {
  HBRUSH brush = GetBrush(colour);
  for (int i = 0; i < width; ++i) {
    RECT rc{r.left + i, r.top + i, r.right() - i, r.bottom() - i};
    if (rc.right > rc.left && rc.bottom > rc.top) ::FrameRect(dc, &rc, brush);
  }
}

// The size a picture is drawn at inside a frame: fitted, aspect kept. Pictures smaller than
// a thumbnail (icons, small graphics) keep their own size.
void FitInto(int pw, int ph, int boxW, int boxH, int& w, int& h) {
  double f = std::min(double(boxW) / pw, double(boxH) / ph);
  if (f > 1.0 && std::max(pw, ph) < kMinThumbnailSide) f = 1.0;
  w = std::max(1, int(pw * f + 0.5));
  h = std::max(1, int(ph * f + 0.5));
}
}  // namespace

ThumbView::~ThumbView() {
  for (Item& item : items_) ReleaseScaled(item);
}

void ThumbView::ReleaseScaled(Item& item) {
  if (item.scaled) DeleteObject(item.scaled);
  item.scaled = nullptr;
  item.scaledWidth = item.scaledHeight = 0;
}

void ThumbView::Create(Widget& parent, const Rect& r, int columns) {
  RegisterClassOnce(kThumbViewClass, CS_DBLCLKS);
  model_.SetColumns(columns);
  SetColour(kViewBack);
  CreateChild(parent, kThumbViewClass, "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | WS_CLIPSIBLINGS, 0, r);
  MeasureCaption();
  SyncClientSize();
}

int ThumbView::ThumbnailSide() const {
  Rect box = model_.PictureRect(0);
  return std::max({kMinThumbnailSide, box.width, box.height});
}

int ThumbView::Add(const std::string& fileName, std::shared_ptr<const img::Image> thumbnail) {
  Item item;
  item.fileName = fileName;
  item.picture = std::move(thumbnail);
  items_.push_back(std::move(item));
  model_.Append();
  int index = Count() - 1;
  UpdateScrollBar();
  InvalidateItem(index);
  return index;
}

void ThumbView::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  ReleaseScaled(items_[size_t(index)]);
  items_.erase(items_.begin() + index);
  model_.Remove(index);
  hot_ = -1;
  UpdateScrollBar();
  Invalidate();
}

void ThumbView::Clear() {
  for (Item& item : items_) ReleaseScaled(item);
  items_.clear();
  model_.SetCount(0);
  model_.ScrollTo(0);
  hot_ = -1;
  UpdateScrollBar();
  Invalidate();
}

std::string ThumbView::FileName(int index) const {
  return index >= 0 && index < Count() ? items_[size_t(index)].fileName : std::string();
}

void ThumbView::SetFileName(int index, const std::string& fileName) {
  if (index < 0 || index >= Count()) return;
  items_[size_t(index)].fileName = fileName;
  InvalidateItem(index);
}

bool ThumbView::HasPicture(int index) const {
  return index >= 0 && index < Count() && items_[size_t(index)].picture && !items_[size_t(index)].picture->empty();
}

std::shared_ptr<const img::Image> ThumbView::Picture(int index) const {
  return index >= 0 && index < Count() ? items_[size_t(index)].picture : nullptr;
}

void ThumbView::SetSelected(int index) {
  int old = model_.Selected();
  int oldScroll = model_.ScrollPos();
  model_.Select(index);
  if (model_.ScrollPos() != oldScroll) {
    UpdateScrollBar();
    Invalidate();
  } else {
    InvalidateItem(old);
    InvalidateItem(model_.Selected());
  }
}

void ThumbView::SetColumns(int columns) {
  if (std::max(1, columns) == model_.Columns()) return;
  model_.SetColumns(columns);
  if (model_.Selected() >= 0) model_.EnsureVisible(model_.Selected());
  UpdateScrollBar();
  Invalidate();
}

void ThumbView::ApplyLayout(const Scale& s) {
  Widget::ApplyLayout(s);
  MeasureCaption();
  SyncClientSize();
}

void ThumbView::MeasureCaption() {
  if (!hwnd_) return;
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, GetFont(Font(), fontScale_));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  model_.SetCaptionHeight(int(tm.tmHeight) + 6);
}

void ThumbView::SyncClientSize() {
  if (!hwnd_) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  model_.SetClientSize(rc.right, rc.bottom);
  if (model_.Selected() >= 0) model_.EnsureVisible(model_.Selected());
  UpdateScrollBar();
  Invalidate();
}

void ThumbView::UpdateScrollBar() {
  if (!hwnd_) return;
  // The bar always shows (disabled when everything fits), so the client width, and with it
  // the grid, does not jump as items come and go.
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, model_.ContentHeight() - 1);
  si.nPage = UINT(model_.ClientHeight());
  si.nPos = model_.ScrollPos();
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void ThumbView::ScrollTo(int pos) {
  if (!model_.ScrollTo(pos)) return;
  hot_ = -1;
  UpdateScrollBar();
  Invalidate();
}

void ThumbView::InvalidateItem(int index) {
  if (!hwnd_ || index < 0 || index >= Count()) return;
  RECT rc = ToRECT(model_.CellRect(index));
  InvalidateRect(hwnd_, &rc, FALSE);
}

void ThumbView::SetHot(int index) {
  if (index == hot_) return;
  InvalidateItem(hot_);
  hot_ = index;
  InvalidateItem(hot_);
}

void ThumbView::ShowMenu(LPARAM lp) {
  if (!popupMenu) return;
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (pt.x == -1 && pt.y == -1) {
    // From the keyboard: at the selected item, or at the view's corner.
    Rect cell = model_.Selected() >= 0 ? model_.CellRect(model_.Selected()) : Rect{};
    pt = {cell.left + cell.width / 2, cell.top + cell.height / 2};
    ClientToScreen(hwnd_, &pt);
  }
  popupMenu->Show(hwnd_, pt);
}

void ThumbView::PaintBorder() {
  // A flat one-pixel frame in the skin's border colour instead of the system's black line.
  HDC dc = GetWindowDC(hwnd_);
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  OffsetRect(&rc, -rc.left, -rc.top);
  ::FrameRect(dc, &rc, GetBrush(skin::kButtonBorder));
  ReleaseDC(hwnd_, dc);
}

void ThumbView::Paint(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetBrush(kViewBack));
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ oldFont = SelectObject(dc, GetFont(Font(), fontScale_));
  SetBkMode(dc, TRANSPARENT);
  int first = 0, last = 0;
  model_.VisibleRange(first, last);
  for (int i = first; i < last; ++i) PaintItem(dc, memory, i);
  SelectObject(dc, oldFont);
  DeleteDC(memory);
}

void ThumbView::PaintItem(HDC dc, HDC memory, int index) {
  Item& item = items_[size_t(index)];
  bool selected = index == model_.Selected();
  bool focused = GetFocus() == hwnd_;
  Rect cell = model_.CellRect(index);
  Rect box = model_.PictureRect(index);
  Rect caption = model_.CaptionRect(index);

  if (selected || index == hot_) {
    Rect back{cell.left + 1, cell.top + 1, cell.width - 2, cell.height - 2};
    RECT rc = ToRECT(back);
    FillRect(dc, &rc, GetBrush(selected ? kSelectedBack : kHotBack));
    if (selected) FrameRect(dc, back, focused ? kSelectedFrame : skin::kButtonBorder);
  }
  RECT boxRc = ToRECT(box);
  FillRect(dc, &boxRc, GetBrush(kFrameBack));
  FrameRect(dc, box, kSilver);

  Rect inner{box.left + 4, box.top + 4, box.width - 8, box.height - 8};
  if (inner.width > 0 && inner.height > 0) {
    if (HasPicture(index)) {
      const img::Image& picture = *item.picture;
      int w = 0, h = 0;
      FitInto(picture.width(), picture.height(), inner.width, inner.height, w, h);
      if (!item.scaled || item.scaledWidth != w || item.scaledHeight != h) {
        ReleaseScaled(item);
        item.scaled = w == picture.width() && h == picture.height()
                          ? ToBitmap(picture)
                          : ToBitmap(img::Resample(picture, w, h, img::Filter::Bilinear));
        item.scaledWidth = w;
        item.scaledHeight = h;
      }
      int x = inner.left + (inner.width - w) / 2, y = inner.top + (inner.height - h) / 2;
      if (item.scaled) {
        HGDIOBJ old = SelectObject(memory, item.scaled);
        BitBlt(dc, x, y, w, h, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
      }
      // The picture's own silver border.
      FrameRect(dc, {x - 1, y - 1, w + 2, h + 2}, kSilver);
    } else {
      // A picture that cannot be read: a crossed-out picture sign in the frame.
      int side = std::min(inner.width, inner.height) * 45 / 100;
      DrawGlyph(dc, Glyph::Image, boxRc, side, kSilver);
      int cx = box.left + box.width / 2, cy = box.top + box.height / 2, d = side / 2;
      HGDIOBJ old = SelectObject(dc, GetPen(RGB(214, 110, 110), 2));
      MoveToEx(dc, cx - d, cy + d, nullptr);
      LineTo(dc, cx + d, cy - d);
      SelectObject(dc, old);
    }
  }

  std::string name = ExtractFileName(item.fileName);
  RECT tr = ToRECT(caption);
  SetTextColor(dc, IsWindowEnabled(hwnd_) ? Font().colour : skin::kDisabledText);
  DrawTextA(dc, name.c_str(), int(name.size()), &tr,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LRESULT ThumbView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintClient();
    case WM_NCPAINT: {
      LRESULT r = Widget::HandleMessage(msg, wp, lp);
      PaintBorder();
      return r;
    }
    case WM_SIZE:
      SyncClientSize();
      return 0;
    case WM_VSCROLL: {
      int line = std::max(16, model_.CellHeight() / 3);
      int page = std::max(line, model_.ClientHeight() - line);
      int pos = 0;
      if (ScrollRequestTarget(hwnd_, SB_VERT, LOWORD(wp), model_.ScrollPos(), line, page, model_.MaxScroll(), pos))
        ScrollTo(pos);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      // Half a row per notch, counting the fractions of fine-grained wheels.
      wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wp);
      int notches = wheelRemainder_ / WHEEL_DELTA;
      wheelRemainder_ -= notches * WHEEL_DELTA;
      if (notches) ScrollTo(model_.ScrollPos() - notches * std::max(16, model_.CellHeight() / 2));
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&tme) != 0;
      }
      SetHot(model_.HitTest(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      SetHot(-1);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      ::SetFocus(hwnd_);
      int hit = model_.HitTest(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      // A left click on empty space clears the selection; a right click there keeps it.
      if (hit >= 0 || msg == WM_LBUTTONDOWN) SetSelected(hit);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      SetSelected(model_.HitTest(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
      if (onDblClick) onDblClick();
      return 0;
    case WM_CONTEXTMENU:
      ShowMenu(lp);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateItem(model_.Selected());
      break;
    case WM_KEYDOWN: {
      ThumbKey key;
      bool navigation = true;
      switch (wp) {
        case VK_LEFT: key = ThumbKey::Left; break;
        case VK_RIGHT: key = ThumbKey::Right; break;
        case VK_UP: key = ThumbKey::Up; break;
        case VK_DOWN: key = ThumbKey::Down; break;
        case VK_HOME: key = ThumbKey::Home; break;
        case VK_END: key = ThumbKey::End; break;
        case VK_PRIOR: key = ThumbKey::PageUp; break;
        case VK_NEXT: key = ThumbKey::PageDown; break;
        default: navigation = false; key = ThumbKey::Home; break;
      }
      if (navigation) {
        int target = model_.Target(key);
        if (target >= 0) SetSelected(target);
      }
      if (onKeyDown) onKeyDown(WORD(wp));
      return 0;
    }
    case WM_CHAR: {
      char key = char(wp);
      if (onKeyPress) onKeyPress(key);
      return 0;
    }
    case WM_ENABLE:
      Invalidate();
      break;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

}  // namespace zel::ui
