#include "logon/logon_picture.h"

#include "imaging/jpeg_quality.h"
#include "imaging/ops.h"

namespace zel::logon {

LogonPicture PrepareLogonPicture(const img::Image& picture, int screenWidth, int screenHeight, int heldQuality,
                                 uint64_t maxBytes) {
  img::FitParams params;
  params.width = screenWidth;
  params.height = screenHeight;
  params.maxBytes = maxBytes;
  params.startQuality = heldQuality;
  params.progressive = true;
  img::FitResult fit = img::FitJpeg(picture, params);

  LogonPicture result;
  result.encodes = fit.encodes;
  result.resampled = fit.resampled;
  if (!fit.fit) return result;
  result.fit = true;
  // A file kept at its own size holds the quality estimated from it; a resampled one holds the
  // step it was saved at, which is also what its tables say.
  result.quality = fit.resampled ? fit.quality : img::EstimateJpegQuality(fit.bytes);
  result.file = std::move(fit.bytes);
  result.view = img::Resample(picture, screenWidth, screenHeight, img::Filter::None);
  return result;
}

std::string TooLargeMessage(uint64_t maxBytes) {
  // The limit with thousands separators, as people read it.
  std::string digits = std::to_string(maxBytes), grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return "The picture cannot be made small enough for the logon screen: even at the lowest JPEG quality its "
         "file is larger than " + grouped + " bytes.\rThe logon screen was not changed.";
}

}  // namespace zel::logon
