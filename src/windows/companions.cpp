#include "windows/companions.h"

namespace zel::windows {

void ShowStartupReminder(HWND owner) {
  // The donation window arrives with the companion windows.
}

}  // namespace zel::windows
