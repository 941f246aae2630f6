// Pictures of the image engine as Windows bitmaps.
#pragma once
#include <windows.h>

#include "imaging/image.h"

namespace zel::ui {

// A top-down 32-bit DIB section holding the picture, for BitBlt and static controls;
// transparency is flattened onto white. The caller owns the bitmap.
HBITMAP ToBitmap(const img::Image& picture);

}  // namespace zel::ui
