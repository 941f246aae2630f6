// Thumbnails that decode no more of a file than they need.
#pragma once

#include <string>

#include "imaging/image.h"

namespace zel::img {

// The picture in `path` scaled down (area average) so that its longer side is at most
// `maxSide`, aspect kept; smaller pictures come back at their own size. JPEG files are decoded
// at a reduced DCT scale, JPEG 2000 at a reduced resolution, and JPEG, PNG, BMP and TIFF rows
// are scaled while they stream in, so memory follows the thumbnail, not the picture.
Image LoadThumbnail(const std::string& path, int maxSide);

}  // namespace zel::img
