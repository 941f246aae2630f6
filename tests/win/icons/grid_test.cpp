// The sortable grid as a real list view: header clicks, selection by mouse and keyboard, the
// cells the list view shows, and filling with repainting suspended.
#include "test_support.h"

#include <commctrl.h>

#include "ui/form.h"
#include "ui/grid.h"

namespace zel::test {
namespace {

class GridHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::FormSpec spec;
    spec.caption = "Grid";
    spec.designClientWidth = spec.outerWidth = 420;
    spec.designClientHeight = spec.outerHeight = 300;
    form.Create(spec);
    panel.Create(form, {0, 0, 420, 300});
    grid.Create(panel, {0, 0, 400, 280},
                {{"Index", ui::ColumnKind::Number, 60, ui::Align::Centre}, {"Label", ui::ColumnKind::Text, 150}});
    grid.onSelectCell = [this](int column, int row) { selections.push_back({column, row}); };
    const char* labels[] = {"b", "Delta", "a", "C"};
    for (int i : {10, 9, 100, 2}) {
      int row = grid.AddRow();
      grid.SetCell(0, row, std::to_string(i));
      grid.SetCell(1, row, labels[row]);
    }
    form.Show();
    Pump(20);
  }

  // What the list view itself shows in a cell (the grid's columns follow a hidden one).
  std::string Shown(int column, int row) {
    char text[64] = {};
    LVITEMA item{};
    item.iSubItem = column + 1;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(grid.hwnd(), LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::vector<std::string> ShownColumn(int column) {
    std::vector<std::string> v;
    int n = int(SendMessageA(grid.hwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < n; ++r) v.push_back(Shown(column, r));
    return v;
  }
  void ClickHeader(int column) {
    RECT rc{};
    SendMessageA(grid.HeaderHandle(), HDM_GETITEMRECT, WPARAM(column + 1), reinterpret_cast<LPARAM>(&rc));
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(grid.HeaderHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(grid.HeaderHandle(), WM_LBUTTONUP, 0, at);
    Pump(10);
  }
  void ClickAt(int x, int y) {
    PostMessageA(grid.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    SendMessageA(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Pump(10);
  }
  void ClickRow(int row, int column) {
    RECT rc{};
    rc.top = column + 1;
    rc.left = LVIR_BOUNDS;
    SendMessageA(grid.hwnd(), LVM_GETSUBITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rc));
    ClickAt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  }

  ui::Form form;
  ui::Panel panel;
  ui::Grid grid;
  std::vector<std::pair<int, int>> selections;
};

TEST_F(GridHost, HeaderClicksSortByTheColumnKindAndReverse) {
  ClickHeader(0);
  EXPECT_EQ(ShownColumn(0), (std::vector<std::string>{"2", "9", "10", "100"}));   // numeric, not "10" < "2"
  ClickHeader(0);
  EXPECT_EQ(ShownColumn(0), (std::vector<std::string>{"100", "10", "9", "2"}));
  ClickHeader(1);
  EXPECT_EQ(ShownColumn(1), (std::vector<std::string>{"a", "b", "C", "Delta"}));   // letter case ignored
  HDITEMA item{};
  item.mask = HDI_FORMAT;
  SendMessageA(grid.HeaderHandle(), HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(item.fmt & HDF_SORTUP);
  EXPECT_TRUE(selections.empty());   // sorting selects nothing
}

TEST_F(GridHost, MouseAndKeyboardSelectWholeRowsAndTheSelectionFollowsSorting) {
  ClickRow(2, 1);   // "100", "a"
  ASSERT_EQ(grid.SelectedRow(), 2);
  ASSERT_EQ(selections.size(), 1u);
  EXPECT_EQ(selections.back(), std::make_pair(1, 2));

  SendMessageA(grid.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  Pump(10);
  EXPECT_EQ(grid.SelectedRow(), 3);
  EXPECT_EQ(grid.Cell(0, grid.SelectedRow()), "2");
  EXPECT_EQ(selections.size(), 2u);

  // Sorting moves the row; the list view's selection moves with it.
  ClickHeader(0);
  EXPECT_EQ(grid.SelectedRow(), 0);
  EXPECT_EQ(SendMessageA(grid.hwnd(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), 0);
  EXPECT_EQ(grid.Cell(0, grid.SelectedRow()), "2");

  // A click below the last row keeps the selection.
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  ClickAt(50, client.bottom - 5);
  EXPECT_EQ(grid.SelectedRow(), 0);
  EXPECT_EQ(selections.size(), 2u);
}

TEST_F(GridHost, FillsThousandsOfRowsWhileSuspendedAndShowsThemAfterwards) {
  grid.ClearRows();
  EXPECT_EQ(SendMessageA(grid.hwnd(), LVM_GETITEMCOUNT, 0, 0), 0);
  {
    ui::GridUpdate suspended(grid);
    for (int i = 0; i < 5000; ++i) {
      int row = grid.AddRow();
      grid.SetCell(0, row, std::to_string(5000 - i));
      grid.SetCell(1, row, "row " + std::to_string(i));
    }
    EXPECT_TRUE(grid.Updating());
    grid.SortBy(0, true);
  }
  EXPECT_FALSE(grid.Updating());
  EXPECT_EQ(SendMessageA(grid.hwnd(), LVM_GETITEMCOUNT, 0, 0), 5000);
  EXPECT_EQ(Shown(0, 0), "1");
  EXPECT_EQ(Shown(1, 4999), "row 0");
  int row = grid.FindRow(0, "2500");
  grid.SelectRow(row);
  EXPECT_EQ(selections.size(), 1u);
  EXPECT_EQ(grid.Cell(1, grid.SelectedRow()), "row 2500");
}

}  // namespace
}  // namespace zel::test
