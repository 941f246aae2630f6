// The geometry of the zoomable image view, without any window: the zoom in effect (fitted to
// the view or fixed), where the picture lies in the view, the scroll offsets, the scroll bars
// the picture needs, the mapping between view and picture coordinates, and the rectangular
// selection drawn with the mouse (kept in picture coordinates, for cropping). Portable, so it
// is tested natively.
#pragma once

#include "ui/layout.h"

namespace zel::ui {

struct ScrollBars {
  bool horizontal = false, vertical = false;
  bool operator==(const ScrollBars&) const = default;
};

struct PointD {
  double x = 0, y = 0;
};

class ImageViewModel {
 public:
  static constexpr double kMinZoom = 1.0;      // percent
  static constexpr double kMaxZoom = 3200.0;

  // A new picture: the scroll offsets go back to the origin and the selection is cleared.
  // A size of 0 x 0 means no picture.
  void SetImageSize(int width, int height);
  int ImageWidth() const { return imageW_; }
  int ImageHeight() const { return imageH_; }
  bool HasImage() const { return imageW_ > 0 && imageH_ > 0; }

  // The area the picture is shown in (the client area less any scroll bars).
  void SetViewSize(int width, int height);
  int ViewWidth() const { return viewW_; }
  int ViewHeight() const { return viewH_; }

  // Auto-fit: the whole picture fills the view as far as its aspect ratio allows, small
  // pictures enlarged, large ones reduced. A fixed zoom switches it off.
  void SetAutoFit(bool on);
  bool AutoFit() const { return autoFit_; }
  // A fixed zoom in percent (clamped to kMinZoom..kMaxZoom), keeping the picture point at the
  // view's centre where it is.
  void SetZoom(double percent);
  // A fixed zoom that keeps the picture point under the view point (x, y) where it is.
  void ZoomAt(double percent, int x, int y);
  double Zoom() const;      // the zoom in effect, in percent
  double FitZoom() const;   // the zoom that auto-fit uses for the current view

  // The picture's size on screen at the zoom in effect (at least 1 x 1 with a picture).
  int DisplayWidth() const;
  int DisplayHeight() const;
  // Where the picture lies in the view: centred along an axis where it is smaller than the
  // view, moved by the scroll offset where it is larger.
  Rect ImageRect() const;

  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  int MaxScrollX() const;
  int MaxScrollY() const;
  void ScrollTo(int x, int y);   // clamped to 0..MaxScroll

  // The scroll bars the picture needs in a client area of width x height (measured without
  // scroll bars), where a vertical bar takes barWidth pixels and a horizontal one barHeight.
  // A bar that takes room can make the other one necessary. Auto-fit needs none.
  ScrollBars BarsFor(int width, int height, int barWidth, int barHeight) const;

  // Mapping between view and picture coordinates (continuous; picture pixel (i, j) covers
  // [i, i+1) x [j, j+1)).
  PointD ViewToImage(double x, double y) const;
  PointD ImageToView(double x, double y) const;

  // The selection: whole picture pixels, inside the picture. A drag starts at one view point
  // and follows the pointer; a drag that covers no whole pixel leaves no selection.
  void BeginSelection(int x, int y);
  void DragSelection(int x, int y);
  void EndSelection();
  bool Selecting() const { return selecting_; }
  bool HasSelection() const { return selection_.width > 0 && selection_.height > 0; }
  Rect Selection() const { return HasSelection() ? selection_ : Rect{}; }
  void SetSelection(const Rect& imageRect);   // clipped to the picture
  void ClearSelection();
  // The selection in view coordinates (empty without a selection).
  Rect SelectionInView() const;

 private:
  double ScaleX() const;
  double ScaleY() const;
  void ClampScroll();
  void UpdateSelection();
  PointD ClampToImage(PointD p) const;

  int imageW_ = 0, imageH_ = 0;
  int viewW_ = 0, viewH_ = 0;
  bool autoFit_ = true;
  double zoom_ = 100.0;
  int scrollX_ = 0, scrollY_ = 0;
  bool selecting_ = false;
  PointD anchor_, current_;
  Rect selection_;
};

}  // namespace zel::ui
