// The quality (1..100) a JPEG file was saved with, read from its quantisation tables.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imaging/image.h"

namespace zel::img {

// The average (rounded half up) of the qualities 1..100 whose IJG standard tables, scaled as
// libjpeg scales them with baseline clamping, equal the file's luminance table and, when there
// is one, its chrominance table. Files written with other tables get the quality whose scaled
// tables are nearest. Error when the data holds no quantisation table before the first scan.
int EstimateJpegQuality(std::span<const uint8_t> jpegBytes);
int EstimateJpegQualityOfFile(const std::string& path);

}  // namespace zel::img
