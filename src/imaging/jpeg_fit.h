// Saving a picture as a JPEG of limited size, as the logon background needs.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/image.h"

namespace zel::img {

inline constexpr uint64_t kLogonMaxBytes = 249856;

struct FitParams {
  int width = 0, height = 0;         // size to resample to when the first file is too large
  uint64_t maxBytes = kLogonMaxBytes;
  int startQuality = 80;             // the quality held before this save
  bool progressive = true;
};

struct FitResult {
  bool fit = false;                  // false: even the lowest quality was too large
  std::vector<uint8_t> bytes;        // the file to install (empty when !fit)
  int quality = 0;                   // quality of `bytes`; the caller keeps it for the next save
  bool resampled = false;            // true when `bytes` hold the width x height picture
  int width = 0, height = 0;         // size of the picture in `bytes`
  int encodes = 0;                   // JPEG encodes done, the first full-size one included
};

// 1. Encode at startQuality at the picture's own size; if it fits, that is the result.
// 2. Otherwise take the quality estimate e of that file, resample to width x height with no
//    filter, and pick the first quality of e-2, e-4, ... (ending at 1, the encoder's lowest)
//    whose encoding fits. The search probes few qualities (sizes fall as the quality falls);
//    should the probes show a size that does not fall, it walks the sequence one by one so the
//    answer is still the first quality that fits.
FitResult FitJpeg(const Image& image, const FitParams& params);

// The same choice made by encoding every quality of the sequence in turn (for checking).
FitResult FitJpegLinear(const Image& image, const FitParams& params);

}  // namespace zel::img
