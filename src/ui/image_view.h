// A picture view: holds one picture (the working image of a page) and shows it fitted to the
// view or at a fixed zoom with scroll bars, painted through a memory bitmap. Reductions are
// shown through a smooth filter; the reduced picture is kept until the picture or the display
// size changes, so repainting never resamples. Enlargements show the pixels as they are.
// Optionally the mouse draws a rectangular selection (kept in picture coordinates) and the
// wheel zooms. The geometry lives in ImageViewModel.
#pragma once
#include <windows.h>

#include <string>

#include "imaging/image.h"
#include "ui/image_view_model.h"
#include "ui/widget.h"

namespace zel::ui {

class ImageView : public Widget {
 public:
  void Create(Widget& parent, const Rect& r);

  // Shows a new picture (the selection is cleared, the zoom mode kept).
  void SetImage(img::Image image);
  void Clear();
  const img::Image& image() const { return image_; }
  bool HasImage() const { return !image_.empty(); }

  // Auto-fit (the default) or a fixed zoom in percent.
  void Fit();
  void SetZoom(double percent);
  double Zoom() const { return model_.Zoom(); }
  bool AutoFit() const { return model_.AutoFit(); }

  // Mouse behaviour: with selection on, dragging draws a selection (otherwise it moves a
  // picture larger than the view); with wheel zoom on, the wheel zooms about the pointer
  // (otherwise it scrolls).
  void SetSelectionEnabled(bool on) { selectionEnabled_ = on; }
  void SetWheelZoom(bool on) { wheelZoom_ = on; }
  // The selection in picture coordinates; empty when there is none.
  Rect Selection() const { return model_.Selection(); }
  void SetSelection(const Rect& imageRect);
  void ClearSelection();

  // A line of text shown in the middle of the view while it holds no picture.
  void SetEmptyText(const std::string& text);

  const ImageViewModel& model() const { return model_; }
  // How many times a reduced display picture has been built (once per picture and display
  // size); repainting builds none.
  int DisplayScaleCount() const { return displayScales_; }

  Event onSelectionChange;
  Event onZoomChange;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void UpdateGeometry();
  void UpdateScrollInfo();
  void Paint(HDC dc, const RECT& client) override;
  void PaintPicture(HDC dc);
  void Scroll(int bar, WORD request);
  void ZoomBy(double factor, int x, int y);

  img::Image image_;
  img::Image flattened_;          // the picture over white when it has transparency
  img::Image reduced_;            // the picture at the display size, when that is smaller
  bool reducedValid_ = false;     // reduced_ was made for this picture at reducedW_ x reducedH_
  int reducedW_ = 0, reducedH_ = 0;
  int displayScales_ = 0;
  ImageViewModel model_;
  std::string emptyText_;
  bool selectionEnabled_ = false;
  bool wheelZoom_ = false;
  bool panning_ = false;
  POINT panFrom_{};
  int panScrollX_ = 0, panScrollY_ = 0;
  bool inGeometry_ = false;
  ScrollBars bars_;
};

}  // namespace zel::ui
