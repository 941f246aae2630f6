#include "ui/image_view_model.h"

#include <algorithm>
#include <cmath>

namespace zel::ui {

namespace {
int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }
}  // namespace

void ImageViewModel::SetImageSize(int width, int height) {
  imageW_ = std::max(0, width);
  imageH_ = std::max(0, height);
  if (imageW_ == 0 || imageH_ == 0) imageW_ = imageH_ = 0;
  scrollX_ = scrollY_ = 0;
  selecting_ = false;
  selection_ = {};
}

void ImageViewModel::SetViewSize(int width, int height) {
  viewW_ = std::max(0, width);
  viewH_ = std::max(0, height);
  ClampScroll();
}

void ImageViewModel::SetAutoFit(bool on) {
  autoFit_ = on;
  if (on) scrollX_ = scrollY_ = 0;
  ClampScroll();
}

void ImageViewModel::SetZoom(double percent) { ZoomAt(percent, viewW_ / 2, viewH_ / 2); }

void ImageViewModel::ZoomAt(double percent, int x, int y) {
  const PointD at = ViewToImage(x, y);
  autoFit_ = false;
  zoom_ = std::clamp(percent, kMinZoom, kMaxZoom);
  if (!HasImage()) return;
  // Put the same picture point back under (x, y) where the picture is larger than the view.
  scrollX_ = DisplayWidth() > viewW_ ? Round(at.x * ScaleX() - x) : 0;
  scrollY_ = DisplayHeight() > viewH_ ? Round(at.y * ScaleY() - y) : 0;
  ClampScroll();
}

double ImageViewModel::FitZoom() const {
  if (!HasImage() || viewW_ <= 0 || viewH_ <= 0) return 100.0;
  return std::min(double(viewW_) / imageW_, double(viewH_) / imageH_) * 100.0;
}

double ImageViewModel::Zoom() const { return autoFit_ ? FitZoom() : zoom_; }

int ImageViewModel::DisplayWidth() const {
  return HasImage() ? std::max(1, Round(imageW_ * Zoom() / 100.0)) : 0;
}

int ImageViewModel::DisplayHeight() const {
  return HasImage() ? std::max(1, Round(imageH_ * Zoom() / 100.0)) : 0;
}

Rect ImageViewModel::ImageRect() const {
  const int w = DisplayWidth(), h = DisplayHeight();
  const int left = w <= viewW_ ? (viewW_ - w) / 2 : -scrollX_;
  const int top = h <= viewH_ ? (viewH_ - h) / 2 : -scrollY_;
  return {left, top, w, h};
}

int ImageViewModel::MaxScrollX() const { return std::max(0, DisplayWidth() - viewW_); }
int ImageViewModel::MaxScrollY() const { return std::max(0, DisplayHeight() - viewH_); }

void ImageViewModel::ScrollTo(int x, int y) {
  scrollX_ = x;
  scrollY_ = y;
  ClampScroll();
}

void ImageViewModel::ClampScroll() {
  scrollX_ = std::clamp(scrollX_, 0, MaxScrollX());
  scrollY_ = std::clamp(scrollY_, 0, MaxScrollY());
}

ScrollBars ImageViewModel::BarsFor(int width, int height, int barWidth, int barHeight) const {
  ScrollBars bars;
  if (autoFit_ || !HasImage()) return bars;
  const int w = DisplayWidth(), h = DisplayHeight();
  bars.horizontal = w > width;
  bars.vertical = h > height;
  if (bars.horizontal && !bars.vertical) bars.vertical = h > height - barHeight;
  if (bars.vertical && !bars.horizontal) bars.horizontal = w > width - barWidth;
  return bars;
}

double ImageViewModel::ScaleX() const { return HasImage() ? double(DisplayWidth()) / imageW_ : 1.0; }
double ImageViewModel::ScaleY() const { return HasImage() ? double(DisplayHeight()) / imageH_ : 1.0; }

PointD ImageViewModel::ViewToImage(double x, double y) const {
  const Rect r = ImageRect();
  return {(x - r.left) / ScaleX(), (y - r.top) / ScaleY()};
}

PointD ImageViewModel::ImageToView(double x, double y) const {
  const Rect r = ImageRect();
  return {r.left + x * ScaleX(), r.top + y * ScaleY()};
}

PointD ImageViewModel::ClampToImage(PointD p) const {
  return {std::clamp(p.x, 0.0, double(imageW_)), std::clamp(p.y, 0.0, double(imageH_))};
}

void ImageViewModel::BeginSelection(int x, int y) {
  selection_ = {};
  if (!HasImage()) return;
  selecting_ = true;
  anchor_ = current_ = ClampToImage(ViewToImage(x, y));
  UpdateSelection();
}

void ImageViewModel::DragSelection(int x, int y) {
  if (!selecting_) return;
  current_ = ClampToImage(ViewToImage(x, y));
  UpdateSelection();
}

void ImageViewModel::EndSelection() {
  if (!selecting_) return;
  selecting_ = false;
  if (!HasSelection()) selection_ = {};
}

void ImageViewModel::UpdateSelection() {
  // The edges snap to the nearest pixel boundary.
  const int x0 = Round(std::min(anchor_.x, current_.x)), x1 = Round(std::max(anchor_.x, current_.x));
  const int y0 = Round(std::min(anchor_.y, current_.y)), y1 = Round(std::max(anchor_.y, current_.y));
  selection_ = {x0, y0, x1 - x0, y1 - y0};
}

void ImageViewModel::SetSelection(const Rect& r) {
  selecting_ = false;
  const int x0 = std::clamp(r.left, 0, imageW_), x1 = std::clamp(r.right(), 0, imageW_);
  const int y0 = std::clamp(r.top, 0, imageH_), y1 = std::clamp(r.bottom(), 0, imageH_);
  selection_ = x1 > x0 && y1 > y0 ? Rect{x0, y0, x1 - x0, y1 - y0} : Rect{};
}

void ImageViewModel::ClearSelection() {
  selecting_ = false;
  selection_ = {};
}

Rect ImageViewModel::SelectionInView() const {
  if (!HasSelection()) return {};
  const PointD a = ImageToView(selection_.left, selection_.top);
  const PointD b = ImageToView(selection_.right(), selection_.bottom());
  const int l = Round(a.x), t = Round(a.y);
  return {l, t, Round(b.x) - l, Round(b.y) - t};
}

}  // namespace zel::ui
