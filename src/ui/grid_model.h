// The rows behind a sortable grid: text cells by column, the column kinds that decide how a
// header click sorts, the selected row, and lookup of a row by the value it shows. Portable,
// so the sorting and selection rules are tested without Windows.
//
// Rows are addressed by their position in the current display order; sorting reorders them,
// and the selection follows its row. Code that must find "the row of slot 12" looks it up by
// the value it shows (FindRow) instead of remembering a position.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zel::ui {

enum class ColumnKind {
  Text,     // sorted alphabetically, without regard to A-Z letter case
  Number,   // sorted by numeric value; cells that are not numbers come first
};

// How a sort compares two cells.
enum class SortRule {
  ByKind,         // the column's kind decides (what a header click does)
  CharacterCodes, // plain comparison of character codes: digits, then A-Z, then a-z
};

class GridModel {
 public:
  void SetColumnKinds(std::vector<ColumnKind> kinds);
  int ColumnCount() const { return int(kinds_.size()); }
  ColumnKind Kind(int column) const { return kinds_[size_t(column)]; }

  int RowCount() const { return int(rows_.size()); }
  void Clear();
  // Appends an empty row (all cells empty) and returns its position.
  int AddRow();
  void Reserve(size_t rows) { rows_.reserve(rows); }

  // Cells are addressed column first, as the grid's users write them. A position outside
  // the grid reads as the empty text; writing there does nothing.
  const std::string& Cell(int column, int row) const;
  void SetCell(int column, int row, std::string text);

  // The first row (in display order) whose cell in `column` equals `value` exactly; -1 if none.
  int FindRow(int column, std::string_view value) const;

  // Stable sort by one column. The selected row stays selected at its new position.
  void Sort(int column, bool ascending, SortRule rule = SortRule::ByKind);
  // The header-click sort: ascending by that column, or the reverse when the rows are already
  // sorted ascending by it.
  void SortByHeader(int column);
  int SortColumn() const { return sortColumn_; }   // -1 until the first sort
  bool SortAscending() const { return sortAscending_; }

  int Selected() const { return selected_; }       // -1 when no row is selected
  void Select(int row);                            // -1 (or out of range) clears

  // Comparison of two cells of a column under a rule: <0, 0, >0.
  static int Compare(std::string_view a, std::string_view b, ColumnKind kind, SortRule rule);

 private:
  struct Row {
    std::vector<std::string> cells;
  };
  std::vector<ColumnKind> kinds_;
  std::vector<Row> rows_;
  int selected_ = -1;
  int sortColumn_ = -1;
  bool sortAscending_ = true;
};

}  // namespace zel::ui
