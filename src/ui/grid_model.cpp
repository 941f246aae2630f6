#include "ui/grid_model.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <optional>

#include "core/text.h"

namespace zel::ui {

namespace {
const std::string kEmpty;

std::optional<double> NumberOf(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

int CompareCodes(std::string_view a, std::string_view b) {
  // Character codes compared as unsigned bytes, so that letters of the upper half of the
  // code page sort after plain ASCII.
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
}  // namespace

void GridModel::SetColumnKinds(std::vector<ColumnKind> kinds) {
  kinds_ = std::move(kinds);
  for (Row& r : rows_) r.cells.resize(kinds_.size());
}

void GridModel::Clear() {
  rows_.clear();
  selected_ = -1;
}

int GridModel::AddRow() {
  rows_.push_back(Row{std::vector<std::string>(kinds_.size())});
  return int(rows_.size()) - 1;
}

const std::string& GridModel::Cell(int column, int row) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return kEmpty;
  return rows_[size_t(row)].cells[size_t(column)];
}

void GridModel::SetCell(int column, int row, std::string text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
  rows_[size_t(row)].cells[size_t(column)] = std::move(text);
}

int GridModel::FindRow(int column, std::string_view value) const {
  if (column < 0 || column >= ColumnCount()) return -1;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].cells[size_t(column)] == value) return int(i);
  return -1;
}

int GridModel::Compare(std::string_view a, std::string_view b, ColumnKind kind, SortRule rule) {
  if (rule == SortRule::CharacterCodes) return CompareCodes(a, b);
  if (kind == ColumnKind::Number) {
    auto x = NumberOf(a), y = NumberOf(b);
    if (x && y) return *x < *y ? -1 : (*x > *y ? 1 : 0);
    if (x || y) return x ? 1 : -1;   // cells that are not numbers come first
    return CompareText(a, b);
  }
  return CompareText(a, b);
}

void GridModel::Sort(int column, bool ascending, SortRule rule) {
  if (column < 0 || column >= ColumnCount()) return;
  ColumnKind kind = Kind(column);
  std::vector<size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    int c = Compare(rows_[x].cells[size_t(column)], rows_[y].cells[size_t(column)], kind, rule);
    return ascending ? c < 0 : c > 0;
  });
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  int selected = -1;
  for (size_t i = 0; i < order.size(); ++i) {
    if (int(order[i]) == selected_) selected = int(i);
    sorted.push_back(std::move(rows_[order[i]]));
  }
  rows_ = std::move(sorted);
  selected_ = selected;
  sortColumn_ = column;
  sortAscending_ = ascending;
}

void GridModel::SortByHeader(int column) {
  Sort(column, !(sortColumn_ == column && sortAscending_));
}

void GridModel::Select(int row) { selected_ = (row >= 0 && row < RowCount()) ? row : -1; }

}  // namespace zel::ui
