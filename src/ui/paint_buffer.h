// Painting through a memory bitmap: everything drawn on dc() reaches the window in one copy
// when the buffer ends, so a control never flickers while it is redrawn.
#pragma once
#include <windows.h>

namespace zel::ui {

class PaintBuffer {
 public:
  PaintBuffer(HDC target, const RECT& client, bool buffered = true) : target_(target), rc_(client) {
    if (buffered && client.right > 0 && client.bottom > 0) {
      dc_ = CreateCompatibleDC(target);
      bitmap_ = CreateCompatibleBitmap(target, client.right, client.bottom);
      old_ = SelectObject(dc_, bitmap_);
    }
  }
  ~PaintBuffer() {
    if (!dc_) return;
    BitBlt(target_, 0, 0, rc_.right, rc_.bottom, dc_, 0, 0, SRCCOPY);
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;
  HDC dc() const { return dc_ ? dc_ : target_; }

 private:
  HDC target_;
  RECT rc_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace zel::ui
