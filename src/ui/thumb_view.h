// A thumbnail view: pictures in a grid of cells with their file names underneath, a vertical
// scroll bar, selection by mouse and keyboard, a context menu, double-buffered painting.
// The grid arithmetic lives in ThumbViewModel; this class turns messages into model calls and
// paints. Each item carries a file name; an item whose picture could not be read shows a
// placeholder in its frame.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "ui/controls.h"
#include "ui/thumb_view_model.h"
#include "ui/widget.h"

namespace zel::ui {

class ThumbView : public Widget {
 public:
  ThumbView() = default;
  ~ThumbView() override;

  void Create(Widget& parent, const Rect& r, int columns);

  // Appends an item showing a thumbnail; none, or an empty one, marks a picture that could not
  // be read. The view shares the thumbnail (a caller may keep it to show it again later) and
  // draws it without transparency. Returns the item's index.
  int Add(const std::string& fileName, std::shared_ptr<const img::Image> thumbnail);
  void Delete(int index);
  void Clear();
  int Count() const { return int(items_.size()); }
  // The item's file name; empty for an index out of range.
  std::string FileName(int index) const;
  void SetFileName(int index, const std::string& fileName);
  // Whether the item shows a picture (false: the placeholder of a picture that cannot be read).
  bool HasPicture(int index) const;
  // The thumbnail an item shows (nullptr for an index out of range).
  std::shared_ptr<const img::Image> Picture(int index) const;

  // The selected item, -1 when none; setting it scrolls the item into view.
  int Selected() const { return model_.Selected(); }
  void SetSelected(int index);

  void SetColumns(int columns);
  int Columns() const { return model_.Columns(); }
  const ThumbViewModel& model() const { return model_; }
  // The longer side to load thumbnails at for the current cell size (at least 160 pixels).
  int ThumbnailSide() const;

  // The menu shown for a right-click (after selecting the item under the pointer) or the
  // context-menu key.
  PopupMenu* popupMenu = nullptr;
  Event onDblClick;
  std::function<void(WORD vk)> onKeyDown;
  std::function<void(char& key)> onKeyPress;

  void ApplyLayout(const Scale& s) override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Item {
    std::string fileName;
    std::shared_ptr<const img::Image> picture;   // the thumbnail as loaded
    HBITMAP scaled = nullptr;   // the picture at the size it was last drawn
    int scaledWidth = 0, scaledHeight = 0;
  };
  static void ReleaseScaled(Item& item);
  void Paint(HDC dc, const RECT& client) override;
  void PaintItem(HDC dc, HDC memory, int index);
  void SyncClientSize();
  void UpdateScrollBar();
  void ScrollTo(int pos);
  void InvalidateItem(int index);
  void SetHot(int index);
  void ShowMenu(LPARAM lp);
  void MeasureCaption();
  void PaintBorder();

  ThumbViewModel model_;
  std::vector<Item> items_;
  int hot_ = -1;
  int wheelRemainder_ = 0;
  bool trackingLeave_ = false;
};

}  // namespace zel::ui
