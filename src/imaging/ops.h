// Operations on pictures: resampling, crop, soft shadow, fill, dropping alpha.
#pragma once

#include "imaging/image.h"

namespace zel::img {

enum class Filter {
  None,      // nearest pixel, no filtering
  Bilinear,  // triangle filter (widened when shrinking, so it averages)
  Lanczos3,
};

// A new picture of exactly width x height; the aspect ratio is not kept.
Image Resample(const Image& src, int width, int height, Filter filter);

// The part of `src` inside `rect`, clipped to the picture; an empty result throws Error.
Image Crop(const Image& src, Rect rect);

// A soft drop shadow: the picture's silhouette, offset, blurred over `radius` pixels, in
// `colour` at `intensityPercent` (0..100) opacity, behind the picture. The canvas grows to hold
// the whole shadow; the area outside the picture and the shadow is transparent.
Image SoftShadow(const Image& src, int radius, int offsetX, int offsetY, Colour colour, int intensityPercent);

// Every pixel becomes `colour`, opaque; the size stays.
void Fill(Image& image, Colour colour);

// The picture without transparency: pixels are composited onto `background` and the alpha
// flag is cleared (what a 24-bit BMP or a JPEG holds).
Image Flatten(const Image& src, Colour background = {255, 255, 255});

}  // namespace zel::img
