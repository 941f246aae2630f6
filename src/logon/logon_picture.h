// The logon background file: how a picture becomes a JPEG small enough for the logon screen,
// and the fixed names around it. Portable, so the choice of size and quality is tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "imaging/jpeg_fit.h"

namespace zel::logon {

// The switch that makes the logon screen use the installed picture (1) or its own (0).
inline constexpr char kBackgroundKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Authentication\\LogonUI\\Background";
inline constexpr char kOemBackground[] = "OEMBackground";
// Below the Windows folder.
inline constexpr char kBackgroundFolder[] = "\\System32\\oobe\\info\\backgrounds\\";
inline constexpr char kBackgroundName[] = "backgroundDefault.jpg";
// The logon screen ignores a larger file.
inline constexpr uint64_t kMaxBackgroundBytes = img::kLogonMaxBytes;
// Locks the workstation, so that the logon screen shows at once.
inline constexpr char kLockCommand[] = "RunDll32.exe user32.dll,LockWorkStation";

struct LogonPicture {
  bool fit = false;                // false: nothing fits, even at the lowest quality
  std::vector<uint8_t> file;       // the progressive JPEG to install
  int quality = 0;                 // the quality to hold for the next Apply
  bool resampled = false;          // the file holds the screen-sized picture
  int encodes = 0;                 // JPEG encodes it took
  img::Image view;                 // the picture the view shows afterwards: screen-sized
};

// Encodes `picture` for the logon screen. A file at the held quality and the picture's own
// size is kept when it fits; the held quality becomes that file's estimated quality. Otherwise
// the picture is resampled to the screen size without a filter and saved at the highest
// quality of estimate - 2, estimate - 4, ... (down to 1) whose file fits in `maxBytes`; that
// quality is held from then on. Either way the view afterwards shows the picture resampled to
// the screen size without a filter. Nothing is resampled for the view when nothing fits.
LogonPicture PrepareLogonPicture(const img::Image& picture, int screenWidth, int screenHeight, int heldQuality,
                                 uint64_t maxBytes = kMaxBackgroundBytes);

// What the user is told when even the lowest quality gives too large a file.
std::string TooLargeMessage(uint64_t maxBytes);

}  // namespace zel::logon
