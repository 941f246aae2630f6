#include "ui/image_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "imaging/ops.h"
#include "ui/display_scale.h"
#include "ui/resources.h"

namespace zel::ui {

namespace {
constexpr char kImageViewClass[] = "ZelImageView";
constexpr int kLine = 40;            // pixels scrolled by an arrow of a scroll bar
constexpr double kWheelStep = 1.25;  // zoom factor of one wheel notch

// Draws rows [sy, sy + sh) and columns [sx, sx + sw) of a picture into the destination
// rectangle. The DIB handed over starts at row sy and covers exactly the rows drawn, so the
// source rectangle always spans the whole DIB height and no top-down/bottom-up origin rule
// comes into play.
void Blit(HDC dc, const img::Image& im, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = im.width();
  bi.bmiHeader.biHeight = -sh;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, dx, dy, dw, dh, sx, 0, sw, sh, im.row(sy), &bi, DIB_RGB_COLORS, SRCCOPY);
}
}  // namespace

void ImageView::Create(Widget& parent, const Rect& r) {
  RegisterClassOnce(kImageViewClass);
  CreateChild(parent, kImageViewClass, "", WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS, 0, r);
  UpdateGeometry();
}

void ImageView::SetImage(img::Image image) {
  image_ = std::move(image);
  flattened_ = image_.hasAlpha() ? img::Flatten(image_) : img::Image();
  reduced_ = img::Image();
  reducedValid_ = false;
  model_.SetImageSize(image_.width(), image_.height());
  UpdateGeometry();
  Invalidate();
}

void ImageView::Clear() { SetImage(img::Image()); }

void ImageView::Fit() {
  model_.SetAutoFit(true);
  UpdateGeometry();
  Invalidate();
  if (onZoomChange) onZoomChange();
}

void ImageView::SetZoom(double percent) {
  model_.SetZoom(percent);
  UpdateGeometry();
  Invalidate();
  if (onZoomChange) onZoomChange();
}

void ImageView::ZoomBy(double factor, int x, int y) {
  model_.ZoomAt(model_.Zoom() * factor, x, y);
  UpdateGeometry();
  Invalidate();
  if (onZoomChange) onZoomChange();
}

void ImageView::SetSelection(const Rect& imageRect) {
  model_.SetSelection(imageRect);
  Invalidate();
  if (onSelectionChange) onSelectionChange();
}

void ImageView::ClearSelection() {
  model_.ClearSelection();
  Invalidate();
  if (onSelectionChange) onSelectionChange();
}

void ImageView::SetEmptyText(const std::string& text) {
  emptyText_ = text;
  Invalidate();
}

void ImageView::UpdateGeometry() {
  if (!hwnd_ || inGeometry_) return;
  inGeometry_ = true;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  // The client area as it would be without scroll bars.
  const int fullW = rc.right + ((style & WS_VSCROLL) ? cx : 0);
  const int fullH = rc.bottom + ((style & WS_HSCROLL) ? cy : 0);
  const ScrollBars want = model_.BarsFor(fullW, fullH, cx, cy);
  model_.SetViewSize(fullW - (want.vertical ? cx : 0), fullH - (want.horizontal ? cy : 0));
  if (bool(style & WS_HSCROLL) != want.horizontal) ShowScrollBar(hwnd_, SB_HORZ, want.horizontal);
  if (bool(style & WS_VSCROLL) != want.vertical) ShowScrollBar(hwnd_, SB_VERT, want.vertical);
  bars_ = want;
  GetClientRect(hwnd_, &rc);
  model_.SetViewSize(rc.right, rc.bottom);
  UpdateScrollInfo();
  inGeometry_ = false;
}

void ImageView::UpdateScrollInfo() {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (bars_.horizontal) {
    si.nMax = model_.DisplayWidth() - 1;
    si.nPage = UINT(model_.ViewWidth());
    si.nPos = model_.ScrollX();
    SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
  }
  if (bars_.vertical) {
    si.nMax = model_.DisplayHeight() - 1;
    si.nPage = UINT(model_.ViewHeight());
    si.nPos = model_.ScrollY();
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  }
}

void ImageView::Scroll(int bar, WORD request) {
  const bool horizontal = bar == SB_HORZ;
  const int page = std::max(kLine, (horizontal ? model_.ViewWidth() : model_.ViewHeight()) - kLine);
  int pos = 0;
  if (!ScrollRequestTarget(hwnd_, bar, request, horizontal ? model_.ScrollX() : model_.ScrollY(), kLine, page,
                           horizontal ? model_.MaxScrollX() : model_.MaxScrollY(), pos))
    return;
  if (horizontal) model_.ScrollTo(pos, model_.ScrollY());
  else model_.ScrollTo(model_.ScrollX(), pos);
  UpdateScrollInfo();
  Invalidate();
}

void ImageView::PaintPicture(HDC dc) {
  const Rect r = model_.ImageRect();
  const int x0 = std::max(r.left, 0), y0 = std::max(r.top, 0);
  const int x1 = std::min(r.right(), model_.ViewWidth()), y1 = std::min(r.bottom(), model_.ViewHeight());
  if (x1 <= x0 || y1 <= y0) return;
  const img::Image& shown = image_.hasAlpha() ? flattened_ : image_;
  if (r.width < shown.width() || r.height < shown.height()) {
    // Reduced: a smooth copy at the display size, built once per size.
    if (!reducedValid_ || reducedW_ != r.width || reducedH_ != r.height) {
      reducedValid_ = true;
      reducedW_ = r.width;
      reducedH_ = r.height;
      reduced_ = img::Image();
      ++displayScales_;
      try {
        reduced_ = ScaleForDisplay(shown, r.width, r.height);
      } catch (const std::exception&) {
        // No memory for the smooth copy: painting must still finish, so this size is drawn
        // coarsely below.
      }
    }
    if (!reduced_.empty()) {
      Blit(dc, reduced_, x0 - r.left, y0 - r.top, x1 - x0, y1 - y0, x0, y0, x1 - x0, y1 - y0);
      return;
    }
  }
  // Actual size or enlarged: the source pixels that cover the visible part, each drawn as a
  // block of its own colour (the same way, coarsely, a reduction without its smooth copy).
  const double sx = double(r.width) / shown.width(), sy = double(r.height) / shown.height();
  const int ix0 = std::clamp(int(std::floor((x0 - r.left) / sx)), 0, shown.width() - 1);
  const int iy0 = std::clamp(int(std::floor((y0 - r.top) / sy)), 0, shown.height() - 1);
  const int ix1 = std::clamp(int(std::ceil((x1 - r.left) / sx)), ix0 + 1, shown.width());
  const int iy1 = std::clamp(int(std::ceil((y1 - r.top) / sy)), iy0 + 1, shown.height());
  const int dx0 = r.left + int(std::lround(ix0 * sx)), dx1 = r.left + int(std::lround(ix1 * sx));
  const int dy0 = r.top + int(std::lround(iy0 * sy)), dy1 = r.top + int(std::lround(iy1 * sy));
  SetStretchBltMode(dc, COLORONCOLOR);
  Blit(dc, shown, ix0, iy0, ix1 - ix0, iy1 - iy0, dx0, dy0, dx1 - dx0, dy1 - dy0);
}

void ImageView::Paint(HDC dc, const RECT& client) {
  FillRect(dc, &client, BackgroundBrush());
  if (!HasImage()) {
    if (emptyText_.empty()) return;
    HGDIOBJ oldFont = SelectObject(dc, GetFont(Font(), fontScale_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin::kDisabledText);
    RECT box = client;
    DrawTextA(dc, emptyText_.c_str(), int(emptyText_.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    return;
  }
  PaintPicture(dc);
  const Rect s = model_.SelectionInView();
  if (s.width > 0 && s.height > 0) {
    // A dotted black-and-white frame shows on any picture.
    HPEN pen = CreatePen(PS_DOT, 1, kBlack);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kWhite);
    Rectangle(dc, s.left, s.top, s.right(), s.bottom());
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
}

LRESULT ImageView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintClient();
    case WM_PRINTCLIENT: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      Paint(reinterpret_cast<HDC>(wp), rc);
      return 0;
    }
    case WM_NCPAINT: {
      // The system draws the scroll bars; the one-pixel frame takes the skin's colour.
      LRESULT r = DefaultProc(msg, wp, lp);
      HDC dc = GetWindowDC(hwnd_);
      RECT wr;
      GetWindowRect(hwnd_, &wr);
      OffsetRect(&wr, -wr.left, -wr.top);
      FrameRect(dc, &wr, GetBrush(skin::kBevelDark));
      ReleaseDC(hwnd_, dc);
      return r;
    }
    case WM_SIZE:
      UpdateGeometry();
      Invalidate();
      return 0;
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(wp));
      return 0;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(wp));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && HasImage()) {
        if (selectionEnabled_) {
          SetCursor(LoadCursor(nullptr, IDC_CROSS));
          return TRUE;
        }
        if (model_.MaxScrollX() > 0 || model_.MaxScrollY() > 0) {
          SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN: {
      ::SetFocus(hwnd_);
      const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
      if (selectionEnabled_ && HasImage()) {
        SetCapture(hwnd_);
        model_.BeginSelection(x, y);
        Invalidate();
      } else if (model_.MaxScrollX() > 0 || model_.MaxScrollY() > 0) {
        // Dragging moves a picture larger than the view.
        SetCapture(hwnd_);
        panning_ = true;
        panFrom_ = {x, y};
        panScrollX_ = model_.ScrollX();
        panScrollY_ = model_.ScrollY();
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
      if (model_.Selecting()) {
        model_.DragSelection(x, y);
        Invalidate();
      } else if (panning_) {
        model_.ScrollTo(panScrollX_ - (x - panFrom_.x), panScrollY_ - (y - panFrom_.y));
        UpdateScrollInfo();
        Invalidate();
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (model_.Selecting()) {
        model_.DragSelection(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        model_.EndSelection();
        Invalidate();
        if (GetCapture() == hwnd_) ReleaseCapture();
        if (onSelectionChange) onSelectionChange();
      } else if (panning_) {
        panning_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the drag ends where it was.
      if (model_.Selecting()) {
        model_.EndSelection();
        Invalidate();
        if (onSelectionChange) onSelectionChange();
      }
      panning_ = false;
      return 0;
    case WM_MOUSEWHEEL: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(hwnd_, &p);
      const int delta = GET_WHEEL_DELTA_WPARAM(wp);
      if (wheelZoom_ && HasImage()) {
        ZoomBy(delta > 0 ? kWheelStep : 1.0 / kWheelStep, p.x, p.y);
      } else if (bars_.vertical || bars_.horizontal) {
        const int bar = bars_.vertical ? SB_VERT : SB_HORZ;
        for (int i = 0; i < 3; ++i) Scroll(bar, delta > 0 ? SB_LINEUP : SB_LINEDOWN);
      }
      return 0;
    }
  }
  return Widget::HandleMessage(msg, wp, lp);
}

}  // namespace zel::ui
