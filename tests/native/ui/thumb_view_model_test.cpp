// The thumbnail grid: cell geometry and hit-testing, keyboard navigation, scrolling, and the
// selection while items come and go.
#include <gtest/gtest.h>

#include "ui/thumb_view_model.h"

namespace zel::ui {
namespace {

// 11 items in 4 columns over 403 x 200 pixels, 20-pixel captions: rows 0-3, 4-7, 8-10.
ThumbViewModel Grid(int count = 11) {
  ThumbViewModel m;
  m.SetClientSize(403, 200);
  m.SetColumns(4);
  m.SetCaptionHeight(20);
  m.SetCount(count);
  return m;
}

TEST(ThumbViewModel, CellsFillTheWidthEdgeToEdgeAndHitTestingFollowsThem) {
  ThumbViewModel m = Grid();
  EXPECT_EQ(m.CellHeight(), 100 * 3 / 4 + 20);
  int right = 0;
  for (int i = 0; i < 4; ++i) {
    Rect c = m.CellRect(i);
    EXPECT_EQ(c.left, right) << i;   // no gaps, no overlaps
    right = c.right();
    // Both edges of every cell hit it.
    EXPECT_EQ(m.HitTest(c.left, c.top), i);
    EXPECT_EQ(m.HitTest(c.right() - 1, c.bottom() - 1), i);
  }
  EXPECT_EQ(right, 403);
  EXPECT_EQ(m.Rows(), 3);
  EXPECT_EQ(m.CellRect(9).top, 2 * 95);
  // The empty place after the last item, and points outside the client area, hit nothing.
  Rect afterLast = m.CellRect(10);
  EXPECT_EQ(m.HitTest(afterLast.right() + 1, afterLast.top + 1), -1);
  EXPECT_EQ(m.HitTest(-1, 5), -1);
  EXPECT_EQ(m.HitTest(403, 5), -1);
  EXPECT_EQ(m.HitTest(5, 200), -1);
  // The picture frame sits inside its cell, above the caption.
  Rect p = m.PictureRect(5), c = m.CellRect(5), t = m.CaptionRect(5);
  EXPECT_GT(p.left, c.left);
  EXPECT_LT(p.right(), c.right());
  EXPECT_LE(p.bottom(), t.top);
  EXPECT_EQ(t.bottom(), c.bottom());
}

TEST(ThumbViewModel, NavigationKeysMoveAlongTheGrid) {
  struct Case {
    int from;
    ThumbKey key;
    int to;
  } cases[] = {
      {-1, ThumbKey::Right, 0}, {-1, ThumbKey::Down, 0}, {-1, ThumbKey::End, 10},
      {5, ThumbKey::Left, 4},   {5, ThumbKey::Right, 6}, {5, ThumbKey::Up, 1},     {5, ThumbKey::Down, 9},
      {0, ThumbKey::Left, 0},   {10, ThumbKey::Right, 10}, {2, ThumbKey::Up, 2},
      {7, ThumbKey::Down, 10},  // nothing straight below: the last item is the nearest
      {9, ThumbKey::Down, 9},   // already on the last row
      {6, ThumbKey::Home, 0},   {1, ThumbKey::End, 10},
      // Two whole rows fit in 200 pixels: a page is 8 items.
      {1, ThumbKey::PageDown, 9}, {5, ThumbKey::PageDown, 10}, {9, ThumbKey::PageUp, 1}, {6, ThumbKey::PageUp, 2},
  };
  for (const Case& c : cases) {
    ThumbViewModel m = Grid();
    m.Select(c.from);
    EXPECT_EQ(m.Target(c.key), c.to) << "from " << c.from << " key " << int(c.key);
  }
  EXPECT_EQ(Grid(0).Target(ThumbKey::Home), -1);
}

TEST(ThumbViewModel, SelectingScrollsTheItemIntoViewAndScrollingStaysInRange) {
  ThumbViewModel m = Grid();
  EXPECT_EQ(m.MaxScroll(), 3 * 95 - 200);
  m.Select(10);   // last row: scrolled just far enough to show it whole
  EXPECT_EQ(m.ScrollPos(), 3 * 95 - 200);
  int first = 0, last = 0;
  m.VisibleRange(first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 11);
  EXPECT_EQ(m.HitTest(1, 199), 8);   // the scroll offset applies to hits
  m.Select(1);    // first row: back to the top
  EXPECT_EQ(m.ScrollPos(), 0);
  EXPECT_FALSE(m.ScrollTo(-50));
  EXPECT_TRUE(m.ScrollTo(1000));
  EXPECT_EQ(m.ScrollPos(), m.MaxScroll());
  // Fewer items, or a taller view, pull the offset back into range.
  m.SetCount(4);
  EXPECT_EQ(m.ScrollPos(), 0);
  m.SetCount(11);
  m.ScrollTo(85);
  m.SetClientSize(403, 400);
  EXPECT_EQ(m.ScrollPos(), 0);
  // A view lower than one cell shows the selected cell's top.
  m.SetClientSize(403, 50);
  m.Select(5);
  EXPECT_EQ(m.ScrollPos(), 95);
  EXPECT_EQ(m.PageRows(), 1);
}

TEST(ThumbViewModel, SelectionFollowsItsItemWhenOthersAreRemoved) {
  struct Case {
    int selected, removed, after;
  } cases[] = {{5, 2, 4}, {5, 7, 5}, {5, 5, 5}, {10, 10, 9}, {-1, 3, -1}, {5, 42, 5}};
  for (const Case& c : cases) {
    ThumbViewModel m = Grid();
    m.Select(c.selected);
    m.Remove(c.removed);
    EXPECT_EQ(m.Selected(), c.after) << c.selected << " less " << c.removed;
  }
  ThumbViewModel m = Grid(1);
  m.Select(0);
  m.Remove(0);
  EXPECT_EQ(m.Selected(), -1);
  EXPECT_EQ(m.Count(), 0);
  m.Select(3);   // out of range selects nothing
  EXPECT_EQ(m.Selected(), -1);
}

}  // namespace
}  // namespace zel::ui
