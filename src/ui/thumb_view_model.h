// The geometry, hit-testing, selection and scrolling of the thumbnail view, without any window:
// a grid of equal cells, a given number of columns filling the client width edge to edge, rows
// growing downwards under a vertical scroll offset. Portable, so it is tested natively.
#pragma once

#include "ui/layout.h"

namespace zel::ui {

enum class ThumbKey { Left, Right, Up, Down, Home, End, PageUp, PageDown };

class ThumbViewModel {
 public:
  // The area the cells fill (the client area beside the scroll bar), the number of columns
  // (at least 1) and the height of the caption line under each picture.
  void SetClientSize(int width, int height);
  void SetColumns(int columns);
  void SetCaptionHeight(int pixels);
  int Columns() const { return columns_; }
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }

  // Items are appended one by one, removed anywhere, or all dropped at once.
  void SetCount(int count);
  void Append() { SetCount(count_ + 1); }
  void Remove(int index);
  int Count() const { return count_; }

  // A cell is a fixed share of the width; its picture area is three quarters as high as the
  // nominal cell width (a landscape frame), then the caption.
  int CellHeight() const;
  int Rows() const;
  int ContentHeight() const { return Rows() * CellHeight(); }
  // The cell of an item in client coordinates, the scroll offset applied.
  Rect CellRect(int index) const;
  // The picture frame inside a cell: the cell less a margin, above the caption.
  Rect PictureRect(int index) const;
  Rect CaptionRect(int index) const;
  // The item under a client point; -1 over empty space or outside the cells.
  int HitTest(int x, int y) const;
  // The items at least partly visible, as a half-open range [first, last).
  void VisibleRange(int& first, int& last) const;
  // Whole rows that fit in the client height (at least 1): one page for PageUp and PageDown.
  int PageRows() const;

  // The vertical scroll offset in pixels, always within 0 .. MaxScroll().
  int ScrollPos() const { return scroll_; }
  int MaxScroll() const;
  // Returns true when the offset changed.
  bool ScrollTo(int pos);
  bool ScrollBy(int delta) { return ScrollTo(scroll_ + delta); }
  // Scrolls the least amount that shows the item's whole cell (or its top when taller than the view).
  bool EnsureVisible(int index);

  // The selected item, -1 when none.
  int Selected() const { return selected_; }
  // Selects an item (anything out of range selects nothing) and scrolls it into view.
  void Select(int index);
  // The item a navigation key moves the selection to from the current one; with nothing
  // selected every key starts at the first item, End at the last. -1 when the view is empty.
  int Target(ThumbKey key) const;

 private:
  int ColumnLeft(int column) const { return int(static_cast<long long>(column) * width_ / columns_); }
  int width_ = 0, height_ = 0;
  int columns_ = 1;
  int captionHeight_ = 0;
  int count_ = 0;
  int scroll_ = 0;
  int selected_ = -1;
};

}  // namespace zel::ui
