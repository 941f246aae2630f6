// The sortable grid's model: sorting by column kind, the selection following its row, and
// finding a row by the value it shows.
#include <gtest/gtest.h>

#include "ui/grid_model.h"

namespace zel::ui {
namespace {

GridModel Make(std::initializer_list<std::pair<const char*, const char*>> rows) {
  GridModel m;
  m.SetColumnKinds({ColumnKind::Number, ColumnKind::Text});
  for (auto [a, b] : rows) {
    int r = m.AddRow();
    m.SetCell(0, r, a);
    m.SetCell(1, r, b);
  }
  return m;
}

std::vector<std::string> Column(const GridModel& m, int column) {
  std::vector<std::string> v;
  for (int r = 0; r < m.RowCount(); ++r) v.push_back(m.Cell(column, r));
  return v;
}

TEST(GridModel, NumberColumnsSortByValueTextColumnsWithoutRegardToCase) {
  GridModel m = Make({{"10", "b"}, {"9", "B"}, {"100", "a"}, {"", "C"}, {"-2", "c"}});
  m.Sort(0, true);
  EXPECT_EQ(Column(m, 0), (std::vector<std::string>{"", "-2", "9", "10", "100"}));
  m.Sort(0, false);
  EXPECT_EQ(Column(m, 0), (std::vector<std::string>{"100", "10", "9", "-2", ""}));
  // Stable: rows equal without regard to case keep their previous order.
  m.Sort(1, true);
  EXPECT_EQ(Column(m, 1), (std::vector<std::string>{"a", "b", "B", "c", "C"}));
}

TEST(GridModel, CharacterCodeSortPutsDigitsThenCapitalsThenSmallLetters) {
  GridModel m;
  m.SetColumnKinds({ColumnKind::Text});
  for (const char* ext : {".avi", ".AVI", ".3gp", ".Bmp", ".a", ".\xe9t"}) m.SetCell(0, m.AddRow(), ext);
  m.Sort(0, true, SortRule::CharacterCodes);
  EXPECT_EQ(Column(m, 0), (std::vector<std::string>{".3gp", ".AVI", ".Bmp", ".a", ".avi", ".\xe9t"}));
}

TEST(GridModel, HeaderClicksAlternateTheDirection) {
  GridModel m = Make({{"2", "x"}, {"1", "y"}, {"3", "z"}});
  m.SortByHeader(0);
  EXPECT_EQ(Column(m, 0), (std::vector<std::string>{"1", "2", "3"}));
  m.SortByHeader(0);
  EXPECT_EQ(Column(m, 0), (std::vector<std::string>{"3", "2", "1"}));
  EXPECT_FALSE(m.SortAscending());
  m.SortByHeader(1);   // another column starts ascending again
  EXPECT_EQ(Column(m, 1), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(m.SortColumn(), 1);
}

TEST(GridModel, SelectionFollowsItsRowAndRowsAreFoundByWhatTheyShow) {
  GridModel m = Make({{"0", "Default File"}, {"1", "Default Document"}, {"2", "EXEcutable"}, {"3", ""}});
  m.Select(1);
  m.Sort(1, true);   // "", Default Document, Default File, EXEcutable
  ASSERT_EQ(m.Selected(), 1);
  EXPECT_EQ(m.Cell(0, m.Selected()), "1");
  int row = m.FindRow(0, "2");
  EXPECT_EQ(m.Cell(1, row), "EXEcutable");
  m.SetCell(1, row, "changed");
  EXPECT_EQ(m.Cell(1, m.FindRow(0, "2")), "changed");
  EXPECT_EQ(m.FindRow(0, "7"), -1);
  EXPECT_EQ(m.FindRow(5, "2"), -1);
  m.Clear();
  EXPECT_EQ(m.Selected(), -1);
  EXPECT_EQ(m.RowCount(), 0);
}

TEST(GridModel, PositionsOutsideTheGridReadEmptyAndIgnoreWrites) {
  GridModel m = Make({{"1", "a"}});
  m.SetCell(0, 5, "x");
  m.SetCell(3, 0, "x");
  EXPECT_EQ(m.Cell(0, 5), "");
  EXPECT_EQ(m.Cell(3, 0), "");
  EXPECT_EQ(m.Cell(-1, -1), "");
  m.Select(9);
  EXPECT_EQ(m.Selected(), -1);
}

}  // namespace
}  // namespace zel::ui
