// A sortable grid: a report-mode list view (SysListView32) with a header row, grid lines and
// whole-row selection, over a GridModel that holds the cells. The list view asks the model for
// the text it paints (owner data), so filling thousands of rows costs one count update.
//
// A click on a column header sorts by that column, numerically or alphabetically as the
// column's kind says; a second click reverses the order. Cells cannot be edited in place.
// Selecting a row with the mouse or the keyboard fires onSelectCell.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/grid_model.h"

namespace zel::ui {

struct GridColumn {
  std::string header;
  ColumnKind kind = ColumnKind::Text;
  int width = 100;             // design width in pixels; scaled with the window
  Align align = Align::Left;
};

class Grid : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, std::vector<GridColumn> columns);

  int ColumnCount() const { return model_.ColumnCount(); }
  const GridColumn& Column(int index) const { return columns_[size_t(index)]; }
  int RowCount() const { return model_.RowCount(); }
  void ClearRows();
  // Appends an empty row and returns its position.
  int AddRow();
  const std::string& Cell(int column, int row) const { return model_.Cell(column, row); }
  void SetCell(int column, int row, const std::string& text);
  // The first row whose cell in `column` shows `value`; -1 when none does.
  int FindRow(int column, std::string_view value) const { return model_.FindRow(column, value); }

  int SelectedRow() const { return model_.Selected(); }
  // Selects a row as the user would (fires onSelectCell) and scrolls it into view.
  void SelectRow(int row);

  // Sorts the rows; the selected row stays selected. A header click calls ColumnClick.
  void SortBy(int column, bool ascending, SortRule rule = SortRule::ByKind);
  void ColumnClick(int column);

  // Repainting is suspended from the first BeginUpdate to the matching EndUpdate, which
  // repaints the whole grid once.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }

  // The header control (its items are the column headers).
  HWND HeaderHandle() const;

  // A row was selected: the column and row of the selection. Handlers may also read
  // SelectedRow().
  std::function<void(int column, int row)> onSelectCell;

 protected:
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyLayout(const Scale& s) override;

 private:
  void SyncCount();
  void ShowSelection();
  void ShowSortMark();
  void RepaintRow(int row);

  GridModel model_;
  std::vector<GridColumn> columns_;
  int updating_ = 0;
  int quiet_ = 0;          // > 0 while the grid moves its own selection (no events)
  int clickColumn_ = 0;    // the column of the last mouse click on a row
};

// Suspends a grid's repainting for its lifetime and repaints it at the end, also when the
// work in between stops on an error.
class GridUpdate {
 public:
  explicit GridUpdate(Grid& grid) : grid_(grid) { grid_.BeginUpdate(); }
  ~GridUpdate() { grid_.EndUpdate(); }
  GridUpdate(const GridUpdate&) = delete;
  GridUpdate& operator=(const GridUpdate&) = delete;

 private:
  Grid& grid_;
};

}  // namespace zel::ui
