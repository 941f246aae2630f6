#include "ui/thumb_view_model.h"

#include <algorithm>

namespace zel::ui {

namespace {
// The gap between a cell's edge and its picture frame.
int Margin(int cellWidth) { return std::max(3, cellWidth / 24); }
}  // namespace

void ThumbViewModel::SetClientSize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  ScrollTo(scroll_);
}

void ThumbViewModel::SetColumns(int columns) {
  columns_ = std::max(1, columns);
  ScrollTo(scroll_);
}

void ThumbViewModel::SetCaptionHeight(int pixels) {
  captionHeight_ = std::max(0, pixels);
  ScrollTo(scroll_);
}

void ThumbViewModel::SetCount(int count) {
  count_ = std::max(0, count);
  if (selected_ >= count_) selected_ = -1;
  ScrollTo(scroll_);
}

void ThumbViewModel::Remove(int index) {
  if (index < 0 || index >= count_) return;
  --count_;
  // The selection stays on the same item, or moves to the one that takes the removed one's place.
  if (selected_ > index) --selected_;
  else if (selected_ == index && selected_ >= count_) selected_ = count_ - 1;
  ScrollTo(scroll_);
}

int ThumbViewModel::CellHeight() const {
  int nominal = std::max(1, width_ / columns_);
  return std::max(1, nominal * 3 / 4 + captionHeight_);
}

int ThumbViewModel::Rows() const { return (count_ + columns_ - 1) / columns_; }

Rect ThumbViewModel::CellRect(int index) const {
  int row = index / columns_, column = index % columns_;
  int left = ColumnLeft(column);
  return {left, row * CellHeight() - scroll_, ColumnLeft(column + 1) - left, CellHeight()};
}

Rect ThumbViewModel::PictureRect(int index) const {
  Rect cell = CellRect(index);
  int m = Margin(cell.width);
  int pictureHeight = CellHeight() - captionHeight_;
  return {cell.left + m, cell.top + m, std::max(0, cell.width - 2 * m), std::max(0, pictureHeight - m)};
}

Rect ThumbViewModel::CaptionRect(int index) const {
  Rect cell = CellRect(index);
  int m = Margin(cell.width);
  int pictureHeight = CellHeight() - captionHeight_;
  return {cell.left + m, cell.top + pictureHeight, std::max(0, cell.width - 2 * m), captionHeight_};
}

int ThumbViewModel::HitTest(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || count_ == 0) return -1;
  int column = int(static_cast<long long>(x) * columns_ / width_);
  // Rounding of the column edges: step to the column whose edges really hold x.
  while (column > 0 && x < ColumnLeft(column)) --column;
  while (column + 1 < columns_ && x >= ColumnLeft(column + 1)) ++column;
  int row = (y + scroll_) / CellHeight();
  long long index = static_cast<long long>(row) * columns_ + column;
  return index < count_ ? int(index) : -1;
}

void ThumbViewModel::VisibleRange(int& first, int& last) const {
  int h = CellHeight();
  int firstRow = scroll_ / h;
  int lastRow = (scroll_ + std::max(0, height_ - 1)) / h;
  first = std::min(count_, firstRow * columns_);
  last = std::min(count_, (lastRow + 1) * columns_);
}

int ThumbViewModel::PageRows() const { return std::max(1, height_ / CellHeight()); }

int ThumbViewModel::MaxScroll() const { return std::max(0, ContentHeight() - height_); }

bool ThumbViewModel::ScrollTo(int pos) {
  int clamped = std::clamp(pos, 0, MaxScroll());
  if (clamped == scroll_) return false;
  scroll_ = clamped;
  return true;
}

bool ThumbViewModel::EnsureVisible(int index) {
  if (index < 0 || index >= count_) return false;
  int h = CellHeight();
  int top = (index / columns_) * h;
  if (top < scroll_ || h > height_) return ScrollTo(top);
  if (top + h > scroll_ + height_) return ScrollTo(top + h - height_);
  return false;
}

void ThumbViewModel::Select(int index) {
  selected_ = index >= 0 && index < count_ ? index : -1;
  if (selected_ >= 0) EnsureVisible(selected_);
}

int ThumbViewModel::Target(ThumbKey key) const {
  if (count_ == 0) return -1;
  int last = count_ - 1;
  if (selected_ < 0) return key == ThumbKey::End ? last : 0;
  int i = selected_;
  int page = PageRows() * columns_;
  switch (key) {
    case ThumbKey::Left:
      return std::max(0, i - 1);
    case ThumbKey::Right:
      return std::min(last, i + 1);
    case ThumbKey::Up:
      return i >= columns_ ? i - columns_ : i;
    case ThumbKey::Down:
      // Below the last full row the last item is the nearest one; on the last row nothing moves.
      if (i + columns_ <= last) return i + columns_;
      return i / columns_ < last / columns_ ? last : i;
    case ThumbKey::Home:
      return 0;
    case ThumbKey::End:
      return last;
    case ThumbKey::PageUp:
      return i - page >= 0 ? i - page : i % columns_;
    case ThumbKey::PageDown:
      return std::min(last, i + page);
  }
  return i;
}

}  // namespace zel::ui
