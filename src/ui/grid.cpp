#include "ui/grid.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/form.h"

namespace zel::ui {

namespace {
#ifndef LVS_EX_DOUBLEBUFFER
#define LVS_EX_DOUBLEBUFFER 0x00010000
#endif

int ColumnFormat(Align a) {
  return a == Align::Centre ? LVCFMT_CENTER : (a == Align::Right ? LVCFMT_RIGHT : LVCFMT_LEFT);
}

// Copies a cell's text into the buffer the list view offers, cut to its size.
template <typename Char>
void CopyCellText(const std::string& text, Char* buffer, int size) {
  if (!buffer || size <= 0) return;
  size_t n = std::min(text.size(), size_t(size - 1));
  if constexpr (sizeof(Char) == 1) {
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
  } else {
    // One wide character per byte at most, so the cut text always fits.
    int w = MultiByteToWideChar(CP_ACP, 0, text.data(), int(n), reinterpret_cast<wchar_t*>(buffer), size - 1);
    buffer[w > 0 ? w : 0] = 0;
  }
}
}  // namespace

void Grid::Create(Widget& parent, const Rect& r, std::vector<GridColumn> columns) {
  columns_ = std::move(columns);
  std::vector<ColumnKind> kinds;
  for (const auto& c : columns_) kinds.push_back(c.kind);
  model_.SetColumnKinds(std::move(kinds));

  // Owner data: the list view asks for each cell's text when it paints (LVN_GETDISPINFO).
  DWORD style =
      WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  CreateChild(parent, WC_LISTVIEWA, "", style, WS_EX_CLIENTEDGE, r);
  DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER;
  SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);

  // The list view's first column is always drawn left-aligned, so it is kept as a hidden
  // column of width 0; the grid's columns are the list view's columns 1 to n.
  LVCOLUMNA hidden{};
  hidden.mask = LVCF_WIDTH;
  SendMessageA(hwnd_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&hidden));
  for (size_t i = 0; i < columns_.size(); ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = ColumnFormat(columns_[i].align);
    col.cx = columns_[i].width;
    col.pszText = columns_[i].header.data();
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, WPARAM(i + 1), reinterpret_cast<LPARAM>(&col));
  }
  if (Form* f = form()) ApplyLayout(f->CurrentScale());
}

HWND Grid::HeaderHandle() const { return reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0)); }

void Grid::SyncCount() {
  ++quiet_;
  SendMessageA(hwnd_, LVM_SETITEMCOUNT, WPARAM(model_.RowCount()), LVSICF_NOSCROLL);
  --quiet_;
}

void Grid::ClearRows() {
  model_.Clear();
  ++quiet_;
  SendMessageA(hwnd_, LVM_SETITEMCOUNT, 0, 0);
  --quiet_;
  if (!Updating()) Invalidate();
}

int Grid::AddRow() {
  int row = model_.AddRow();
  if (!Updating()) SyncCount();
  return row;
}

void Grid::RepaintRow(int row) {
  if (!Updating()) SendMessageA(hwnd_, LVM_REDRAWITEMS, WPARAM(row), LPARAM(row));
}

void Grid::SetCell(int column, int row, const std::string& text) {
  model_.SetCell(column, row, text);
  RepaintRow(row);
}

void Grid::BeginUpdate() {
  if (updating_++ == 0) SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void Grid::EndUpdate() {
  if (updating_ == 0 || --updating_ > 0) return;
  SyncCount();
  ShowSelection();
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Grid::SelectRow(int row) {
  if (row < 0 || row >= model_.RowCount()) return;
  if (!Updating()) SyncCount();
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  clickColumn_ = 0;
  // The list view reports the change (LVN_ITEMCHANGED), which fires onSelectCell.
  SendMessageA(hwnd_, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  SendMessageA(hwnd_, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

// Puts the list view's selection on the model's selected row, without events.
void Grid::ShowSelection() {
  ++quiet_;
  LVITEMA none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(hwnd_, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&none));
  int row = model_.Selected();
  if (row >= 0) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(hwnd_, LVM_SETSELECTIONMARK, 0, LPARAM(row));
    if (!Updating()) SendMessageA(hwnd_, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
  }
  --quiet_;
}

void Grid::ShowSortMark() {
  HWND header = HeaderHandle();
  if (!header) return;
  for (int i = 0; i < model_.ColumnCount(); ++i) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, WPARAM(i + 1), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == model_.SortColumn()) item.fmt |= model_.SortAscending() ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageA(header, HDM_SETITEMA, WPARAM(i + 1), reinterpret_cast<LPARAM>(&item));
  }
}

void Grid::SortBy(int column, bool ascending, SortRule rule) {
  model_.Sort(column, ascending, rule);
  ShowSortMark();
  if (Updating()) return;
  ShowSelection();
  Invalidate();
}

void Grid::ColumnClick(int column) {
  if (column < 0 || column >= model_.ColumnCount()) return;
  SortBy(column, !(model_.SortColumn() == column && model_.SortAscending()));
}

bool Grid::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->hwndFrom != hwnd_) return false;
  switch (header->code) {
    case LVN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if (info->item.mask & LVIF_TEXT)
        CopyCellText(model_.Cell(info->item.iSubItem - 1, info->item.iItem), info->item.pszText,
                     info->item.cchTextMax);
      return true;
    }
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      if (info->item.mask & LVIF_TEXT)
        CopyCellText(model_.Cell(info->item.iSubItem - 1, info->item.iItem), info->item.pszText,
                     info->item.cchTextMax);
      return true;
    }
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (quiet_ || !(change->uChanged & LVIF_STATE)) return true;
      bool was = change->uOldState & LVIS_SELECTED, is = change->uNewState & LVIS_SELECTED;
      if (is && !was && change->iItem >= 0) {
        model_.Select(change->iItem);
        if (onSelectCell) onSelectCell(clickColumn_, change->iItem);
      } else if (was && !is && (change->iItem < 0 || change->iItem == model_.Selected())) {
        if (SendMessageA(hwnd_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED) < 0) model_.Select(-1);
      }
      return true;
    }
    case LVN_COLUMNCLICK:
      ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem - 1);
      return true;
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW:
      result = TRUE;   // no editing in place
      return true;
  }
  return false;
}

LRESULT Grid::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN) {
    LVHITTESTINFO hit{};
    hit.pt = {short(LOWORD(lp)), short(HIWORD(lp))};
    SendMessageA(hwnd_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0) {
      // A click below the last row keeps the selection, as a grid does.
      SetFocus();
      return 0;
    }
    clickColumn_ = hit.iSubItem > 0 ? hit.iSubItem - 1 : 0;
  } else if (msg == WM_KEYDOWN) {
    clickColumn_ = 0;
  } else if (msg == WM_NOTIFY) {
    // The hidden first column cannot be dragged open.
    auto* nm = reinterpret_cast<NMHEADERA*>(lp);
    if (nm->hdr.hwndFrom == HeaderHandle() && nm->iItem == 0 &&
        (nm->hdr.code == HDN_BEGINTRACKA || nm->hdr.code == HDN_BEGINTRACKW || nm->hdr.code == HDN_DIVIDERDBLCLICKA ||
         nm->hdr.code == HDN_DIVIDERDBLCLICKW))
      return TRUE;
  }
  return Widget::HandleMessage(msg, wp, lp);
}

void Grid::ApplyLayout(const Scale& s) {
  Widget::ApplyLayout(s);
  for (size_t i = 0; i < columns_.size(); ++i)
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, WPARAM(i + 1), MAKELPARAM(int(std::lround(columns_[i].width * s.x)), 0));
}

}  // namespace zel::ui
