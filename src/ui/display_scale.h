// Scaling a picture for display in a view: a good filter at a cost that suits repainting a
// view after a zoom change, even for pictures of tens of megapixels. Portable.
#pragma once

#include "imaging/image.h"

namespace zel::ui {

// `src` at exactly width x height for showing on screen. Large reductions first average whole
// blocks of pixels down to about twice the target size, then Lanczos3 takes it the rest of the
// way, so the result is as smooth as Lanczos3 alone at a fraction of its cost. Transparent
// pixels are shown over white, as the picture would be saved in a format without transparency.
img::Image ScaleForDisplay(const img::Image& src, int width, int height);

// The picture reduced by averaging blocks of factor x factor pixels (partial blocks at the
// right and bottom edges average what they hold).
img::Image BoxReduce(const img::Image& src, int factor);

}  // namespace zel::ui
